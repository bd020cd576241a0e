#pragma once

#include <string>

namespace gw::platform {

// A file the program is still making (a part file, the wizard's temporary page), known by its
// path in a small fixed table that a signal handler can read: an end from the handler removes
// it, and so does exit() if nothing else did. The path is formatted when the file is taken in,
// so that the handler only has to call unlink().
class FileUnderWay {
  public:
    FileUnderWay() = default;
    // A path the table has no room for (256 files at once, 4 KiB a path) is not taken in: it
    // is then only removed the ordinary way.
    explicit FileUnderWay(const std::string& path);
    ~FileUnderWay() { release(); }
    FileUnderWay(FileUnderWay&& other) noexcept;
    FileUnderWay& operator=(FileUnderWay&& other) noexcept;
    FileUnderWay(const FileUnderWay&) = delete;
    FileUnderWay& operator=(const FileUnderWay&) = delete;

    // From now on the file goes into place as `finalPath`. An end from a signal handler then
    // leaves it, since on a network share whose server is gone the unlink could hang as the
    // flush does, and names it on standard error as possibly incomplete.
    void goingIntoPlace(const std::string& finalPath);
    // The file is no longer the program's to remove.
    void release();

  private:
    int slot_ = -1;
};

// The program's name in what EndFilesUnderWay() writes; before the first file is taken in.
void NameProgramForFilesUnderWay(const char* program);

// Removes every file under way but those going into place, which it names instead on standard
// error. Async-signal-safe.
void EndFilesUnderWay();

}  // namespace gw::platform
