// What a checksum list says, in every form the common tools write: one table of list name and
// text against the hashes read.
#include <gtest/gtest.h>

#include "transfer/ChecksumList.h"

namespace {

const std::string k32(32, 'a'), k40(40, 'b'), k64(64, 'c'), k128(128, 'd');

// Each hash read, then how many lines could not be read when any could not.
std::vector<std::string> Read(const std::string& listName, const std::string& text) {
    std::vector<std::string> read;
    const gw::transfer::ReadList list = gw::transfer::ReadChecksumList(text, listName);
    for (const gw::transfer::ListedHash& hash : list.hashes)
        read.push_back(hash.name + " " + gw::platform::AlgorithmName(hash.algorithm) + " " +
                       hash.hex);
    if (list.unreadable > 0)
        read.push_back(std::to_string(list.unreadable) + " unreadable");
    return read;
}

TEST(ReadChecksumList, ReadsEveryCommonForm) {
    const std::string signedList = "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" + k64 +
                                   "  a.iso\n- " + k64 +
                                   "  b.iso\n-----BEGIN PGP SIGNATURE-----\n" + k64 +
                                   "  evil.iso\n-----END PGP SIGNATURE-----\n";
    struct Case {
        std::string listName;
        std::string text;
        std::vector<std::string> read;
    };
    const Case cases[] = {
        // Folders in a name stay: they say where below the list's own folder the file lies.
        {"SHA256SUMS",
         k64 + "  a.iso\n" + k64 + " *dist/b.iso",
         {"a.iso SHA-256 " + k64, "dist/b.iso SHA-256 " + k64}},
        {"sha256sums.txt",
         "# made by hand\r\n\r\n" + k64 + "  ./c.iso\r\n",
         {"c.iso SHA-256 " + k64}},
        {"CHECKSUMS",
         "SHA512 (x/a.iso) = " + k128 + "\nMD5 (b.iso) = " + k32 + "\nSHA384 (c) = " + k32,
         {"x/a.iso SHA-512 " + k128, "b.iso MD5 " + k32, "1 unreadable"}},
        {"CHECKSUMS",
         k40 + "  a.iso\n" + k32 + "  b.iso\n" + k64 + "0  c.iso\nxyz  d.iso",
         {"a.iso SHA-1 " + k40, "b.iso MD5 " + k32, "2 unreadable"}},
        // OpenSSL's own output, old and new names of the algorithm.
        {"SHA256SUMS",
         "SHA2-256(a.iso)= " + k64 + "\nSHA256(b (1).iso)= " + k64 + "\nMD5(c.iso)= " + k32,
         {"a.iso SHA-256 " + k64, "b (1).iso SHA-256 " + k64, "c.iso MD5 " + k32}},
        // The list's name says SHA-256: a hash of another length is no line of it.
        {"SHA256SUMS", k128 + "  a.iso\ngarbled\n" + k64 + "  \n", {"3 unreadable"}},
        {"a.iso.SHA256", std::string(64, 'C') + "\n", {"a.iso SHA-256 " + k64}},
        {"b.iso.md5sum", k32 + "  /build/b.iso\n", {"b.iso MD5 " + k32}},
        {"SHA1SUMS", "\\" + k40 + "  a\\\\b\\nc", {"a\\b\nc SHA-1 " + k40}},
        {"SHA256SUMS.asc", signedList, {"a.iso SHA-256 " + k64, "b.iso SHA-256 " + k64}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.listName, c.text), c.read) << c.listName << ": " << c.text;
}

}  // namespace
