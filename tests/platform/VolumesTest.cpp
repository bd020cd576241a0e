#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Volumes.h"
#include "support/TempEnvironment.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> mountPoints(const std::vector<gw::platform::Volume>& volumes) {
    std::vector<std::string> points;
    for (const auto& volume : volumes)
        points.push_back(volume.mountPoint);
    return points;
}

std::string writeTable(const std::string& text) {
    const std::string path = gw::test::TestRoot() + "/mounts";
    std::ofstream(path) << text;
    return path;
}

}  // namespace

TEST(MountedVolumes, LeavesOutPseudoSystemsRuntimeTmpfsImagesAndNonFolders) {
    const std::string root = gw::test::TestRoot();
    for (const char* folder : {"/home", "/home2", "/media/a b", "/scratch", "/snap"})
        fs::create_directories(root + folder);
    const std::string table = writeTable(
        "22 1 0:21 / /proc rw - proc proc rw\n"
        "23 1 0:22 / /sys rw - sysfs sysfs rw\n"
        "24 1 0:5 / /dev rw - devtmpfs udev rw\n"
        "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
        "26 1 0:24 / /run rw - tmpfs tmpfs rw\n"
        "27 26 0:25 / /run/user/0 rw - tmpfs tmpfs rw\n"
        "28 23 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "29 1 0:27 / /proc/sys/fs/binfmt_misc rw - autofs systemd-1 rw\n"
        "30 1 8:2 / " +
        root +
        "/home2 rw shared:5 - ext4 /dev/sda2 rw\n"
        "31 1 8:3 / " +
        root +
        "/home rw - ext4 /dev/sda3 rw\n"
        "32 1 8:17 / " +
        root +
        "/media/a\\040b rw - vfat /dev/sdb1 rw\n"
        "33 1 7:0 / " +
        root +
        "/snap rw - squashfs /dev/loop0 ro\n"
        "34 1 0:30 / " +
        root +
        "/scratch rw - tmpfs tmpfs rw\n"
        "35 1 8:4 / " +
        root +
        "/gone rw - ext4 /dev/sda4 rw\n"
        "36 1 8:1 /etc/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
        "20 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    const auto volumes = gw::platform::MountedVolumes(table);
    EXPECT_EQ(mountPoints(volumes),
              (std::vector<std::string>{"/", root + "/home", root + "/home2", root + "/media/a b",
                                        root + "/scratch"}));
    EXPECT_EQ(volumes[3].type, "vfat");
    EXPECT_EQ(volumes[3].source, "/dev/sdb1");
}

TEST(MountedVolumes, ReadsTheShortTableAndAlwaysOffersTheRoot) {
    const std::string root = gw::test::TestRoot();
    fs::create_directories(root + "/usb");
    // Network mounts are never touched: these show though their mount points are not there.
    const std::string table =
        writeTable("proc /proc proc rw 0 0\n/dev/sdc1 " + root + "/usb/ vfat rw 0 0\nh:/x " + root +
                   "/nfs nfs4 rw 0 0\nu@h: " + root + "/ssh fuse.sshfs rw 0 0\n");
    EXPECT_EQ(mountPoints(gw::platform::MountedVolumes(table)),
              (std::vector<std::string>{"/", root + "/nfs", root + "/ssh", root + "/usb"}));
    EXPECT_EQ(mountPoints(gw::platform::MountedVolumes(root + "/no-such-table")),
              (std::vector<std::string>{"/"}));
}

TEST(DriveOf, TakesTheLongestMountPointInWholeComponents) {
    const std::vector<gw::platform::Volume> volumes = {
        {"/", "ext4", ""}, {"/home", "ext4", ""}, {"/home/u/usb", "vfat", ""}};
    const std::pair<std::string, std::string> cases[] = {{"/home/u/Downloads", "/home"},
                                                         {"/home", "/home"},
                                                         {"/home2/x", "/"},
                                                         {"/home/u/usb/a", "/home/u/usb"},
                                                         {"/home/u/usbx", "/home"},
                                                         {"/", "/"},
                                                         {"/etc", "/"}};
    for (const auto& [path, drive] : cases)
        EXPECT_EQ(gw::platform::DriveOf(volumes, path), drive) << path;
}
