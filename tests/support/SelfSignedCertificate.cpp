#include "support/SelfSignedCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace gw::test {
namespace {

struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateDeleter {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void AddExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension == nullptr || X509_add_ext(certificate, extension, -1) != 1)
        throw std::runtime_error("cannot add a certificate extension");
    X509_EXTENSION_free(extension);
}

std::unique_ptr<X509, CertificateDeleter> MakeCertificate(EVP_PKEY* key) {
    std::unique_ptr<X509, CertificateDeleter> certificate(X509_new());
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 2 * 86400);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    // Its own authority, so that the one file is both the chain's root and the server's name.
    AddExtension(cert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, NID_key_usage, "critical,keyCertSign,digitalSignature");
    AddExtension(cert, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    if (X509_sign(cert, key, EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign the certificate");
    return certificate;
}

std::unique_ptr<std::FILE, FileCloser> OpenForWriting(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return file;
}

}  // namespace

SelfSignedCertificate::SelfSignedCertificate() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gw-cert-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for the certificate");
    folder_ = pattern;
    certificateFile_ = folder_ + "/certificate.pem";
    keyFile_ = folder_ + "/key.pem";

    try {
        std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
        if (!key)
            throw std::runtime_error("cannot make a key");
        const auto certificate = MakeCertificate(key.get());
        if (PEM_write_X509(OpenForWriting(certificateFile_).get(), certificate.get()) != 1 ||
            PEM_write_PrivateKey(OpenForWriting(keyFile_).get(), key.get(), nullptr, nullptr, 0,
                                 nullptr, nullptr) != 1)
            throw std::runtime_error("cannot write the certificate");
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

SelfSignedCertificate::~SelfSignedCertificate() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace gw::test
