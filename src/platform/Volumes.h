#pragma once

#include <string>
#include <vector>

namespace gw::platform {

// A mounted volume: what the drive list offers.
struct Volume {
    std::string mountPoint;  // the volume's root folder, without a final "/" except for "/"
    std::string type;        // the file system type, as the mount table names it
    std::string source;      // the device or other source the mount table names
};

// The volumes a user can save into, root "/" first and then by mount point: pseudo file
// systems, tmpfs under /dev and /run, read-only images and mount points that are not
// readable folders are left out. Network file systems (nfs, cifs, fuse mounts such as sshfs)
// are taken from the table alone, with no call on their mount point: one whose server is
// gone would block it. The table is /proc/self/mountinfo or in /proc/mounts form.
std::vector<Volume> MountedVolumes(const std::string& mountTable);

// The same from the table in use: the system's own, or the fake one a test has set up.
std::vector<Volume> MountedVolumes();
// "" goes back to the system's own table.
void setMountTable(std::string mountTable);

// The mount point of the volume that holds the absolute path: the longest mount point that is
// a prefix of the path in whole components. "/" when none is (the root holds everything).
std::string DriveOf(const std::vector<Volume>& volumes, const std::string& path);

// Whether the absolute path lies on a network or FUSE volume of `volumes`, where any call may
// wait for good on a server that is gone.
bool OnNetworkVolume(const std::vector<Volume>& volumes, const std::string& path);

// The absolute path with the symbolic links along it followed, each read with readlink, as far
// as they stay off network volumes: nothing on a network volume is asked, so the answer is
// where the path leads or the first place on such a volume that it reaches.
std::string PathBehindLinks(const std::vector<Volume>& volumes, const std::string& path);

}  // namespace gw::platform
