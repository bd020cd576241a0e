#pragma once

#include <string>

namespace gw::retrieval {

// The folder for temporary page files: "grabwright" in the per-user cache folder, made
// owner-only (an existing one of the user's own is set so too), or, without a cache folder,
// a private folder made for this run. "" with `why` set when there is none to use; a
// "grabwright" folder that belongs to another user is refused.
std::string PrivateTempFolder(std::string* why = nullptr);

// A page file in a private folder made for this run alone (mkdtemp under an absolute $TMPDIR,
// else /tmp; the folder goes when the program ends), removed when the object goes: the
// command line's, so that two runs at once never share one.
class RunTempFile {
  public:
    RunTempFile();
    ~RunTempFile();
    RunTempFile(const RunTempFile&) = delete;
    RunTempFile& operator=(const RunTempFile&) = delete;

    // "" when no folder could be made; error() says why.
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

  private:
    std::string path_;
    std::string error_;
};

// The wizard's temporary page file, temp.tmp in that folder; "" (with `why`) when it has none.
std::string WizardTempFile(std::string* why = nullptr);

}  // namespace gw::retrieval
