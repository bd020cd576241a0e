#pragma once

#include <string>

namespace gw::test {

// A certificate for 127.0.0.1 and localhost that signs itself, with its key, written as PEM
// files to a fresh temporary folder that goes away with the object. Trusting the certificate
// file is what lets a client accept a server that presents it.
class SelfSignedCertificate {
  public:
    SelfSignedCertificate();
    ~SelfSignedCertificate();
    SelfSignedCertificate(const SelfSignedCertificate&) = delete;
    SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

    const std::string& certificateFile() const { return certificateFile_; }
    const std::string& keyFile() const { return keyFile_; }

  private:
    std::string folder_;
    std::string certificateFile_;
    std::string keyFile_;
};

}  // namespace gw::test
