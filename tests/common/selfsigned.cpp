#include "common/selfsigned.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <functional>
#include <memory>

namespace {
struct KeyFree
{
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct CertFree
{
    void operator()(X509 *cert) const { X509_free(cert); }
};
struct BioFree
{
    void operator()(BIO *bio) const { BIO_free(bio); }
};

// The extensions `openssl req -x509` adds, and the address the server answers on.
bool add_extensions(X509 *cert)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    const std::pair<int, const char *> extensions[] = {
        {NID_basic_constraints, "critical,CA:TRUE"},
        {NID_subject_key_identifier, "hash"},
        {NID_subject_alt_name, "IP:127.0.0.1"},
    };
    for (const auto &[nid, value] : extensions) {
        X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
        const bool added = ext && X509_add_ext(cert, ext, -1) == 1;
        X509_EXTENSION_free(ext);
        if (!added)
            return false;
    }
    return true;
}

bool write_pem(const QString &path, const std::function<int(BIO *)> &write)
{
    std::unique_ptr<BIO, BioFree> bio(BIO_new_file(path.toLocal8Bit().constData(), "w"));
    return bio && write(bio.get()) == 1;
}
} // namespace

bool write_self_signed_certificate(const QString &certFile, const QString &keyFile)
{
    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_RSA_gen(2048));
    std::unique_ptr<X509, CertFree> cert(X509_new());
    if (!key || !cert)
        return false;
    X509_NAME *name = X509_get_subject_name(cert.get());
    const auto *cn = reinterpret_cast<const unsigned char *>("127.0.0.1");
    const bool made = X509_set_version(cert.get(), 2) == 1 &&
                      ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1) == 1 &&
                      X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600) &&
                      X509_gmtime_adj(X509_getm_notAfter(cert.get()), 2 * 24 * 3600) &&
                      X509_set_pubkey(cert.get(), key.get()) == 1 &&
                      X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, cn, -1, -1, 0) == 1 &&
                      X509_set_issuer_name(cert.get(), name) == 1 && add_extensions(cert.get()) &&
                      X509_sign(cert.get(), key.get(), EVP_sha256()) > 0;
    return made &&
           write_pem(keyFile,
                     [&](BIO *bio) {
                         return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0,
                                                         nullptr, nullptr);
                     }) &&
           write_pem(certFile, [&](BIO *bio) { return PEM_write_bio_X509(bio, cert.get()); });
}
