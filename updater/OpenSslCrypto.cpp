#include "updater/OpenSslCrypto.h"

#include <algorithm>
#include <string>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

namespace vt {

namespace {

class OpenSslSha256 : public ISha256 {
public:
    explicit OpenSslSha256(EVP_MD_CTX* ctx) : m_ctx(ctx) {}
    ~OpenSslSha256() override { EVP_MD_CTX_free(m_ctx); }
    OpenSslSha256(const OpenSslSha256&) = delete;
    OpenSslSha256& operator=(const OpenSslSha256&) = delete;

    void Update(const void* data, std::size_t size) override {
        if (m_ok && size > 0) m_ok = EVP_DigestUpdate(m_ctx, data, size) == 1;
    }
    bool Finish(Sha256Digest& out) override {
        unsigned int n = 0;
        Sha256Digest digest;
        if (!m_ok || EVP_DigestFinal_ex(m_ctx, digest.data(), &n) != 1 || n != digest.size()) return false;
        m_ok = false;
        out = digest;
        return true;
    }

private:
    EVP_MD_CTX* m_ctx;
    bool m_ok = true;
};

// The public key as an EVP_PKEY of the P-256 group: 0x04, X, Y. OpenSSL
// checks that the point lies on the curve; null when it does not.
EVP_PKEY* ImportKey(const P256PublicKey& key) {
    unsigned char point[65];
    point[0] = 0x04;
    std::copy(key.begin(), key.end(), point + 1);
    OSSL_PARAM_BLD* build = OSSL_PARAM_BLD_new();
    OSSL_PARAM* params = nullptr;
    EVP_PKEY_CTX* ctx = nullptr;
    EVP_PKEY* pkey = nullptr;
    if (build && OSSL_PARAM_BLD_push_utf8_string(build, OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0) &&
        OSSL_PARAM_BLD_push_octet_string(build, OSSL_PKEY_PARAM_PUB_KEY, point, sizeof point) &&
        (params = OSSL_PARAM_BLD_to_param(build)) && (ctx = EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr)) &&
        EVP_PKEY_fromdata_init(ctx) == 1) {
        if (EVP_PKEY_fromdata(ctx, &pkey, EVP_PKEY_PUBLIC_KEY, params) != 1) pkey = nullptr;
    }
    EVP_PKEY_CTX_free(ctx);
    OSSL_PARAM_free(params);
    OSSL_PARAM_BLD_free(build);
    if (!pkey) return nullptr;
    // fromdata takes the point as given; the check proves it is on the curve.
    EVP_PKEY_CTX* check = EVP_PKEY_CTX_new_from_pkey(nullptr, pkey, nullptr);
    const bool onCurve = check && EVP_PKEY_public_check(check) == 1;
    EVP_PKEY_CTX_free(check);
    if (!onCurve) {
        EVP_PKEY_free(pkey);
        return nullptr;
    }
    return pkey;
}

// r and s in the DER form OpenSSL verifies; empty on failure.
std::basic_string<unsigned char> DerSignature(const P256Signature& signature) {
    std::basic_string<unsigned char> der;
    ECDSA_SIG* sig = ECDSA_SIG_new();
    BIGNUM* r = BN_bin2bn(signature.data(), 32, nullptr);
    BIGNUM* s = BN_bin2bn(signature.data() + 32, 32, nullptr);
    if (sig && r && s && ECDSA_SIG_set0(sig, r, s) == 1) {
        r = s = nullptr;  // owned by sig now
        unsigned char* out = nullptr;
        const int n = i2d_ECDSA_SIG(sig, &out);
        if (n > 0) der.assign(out, static_cast<std::size_t>(n));
        OPENSSL_free(out);
    }
    BN_free(r);
    BN_free(s);
    ECDSA_SIG_free(sig);
    return der;
}

}  // namespace

std::unique_ptr<ISha256> OpenSslCrypto::NewSha256() const {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    if (!ctx || EVP_DigestInit_ex(ctx, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(ctx);
        return nullptr;
    }
    return std::make_unique<OpenSslSha256>(ctx);
}

bool OpenSslCrypto::VerifyP256(const P256PublicKey& key, const Sha256Digest& digest,
                               const P256Signature& signature) const {
    const std::basic_string<unsigned char> der = DerSignature(signature);
    if (der.empty()) return false;
    EVP_PKEY* pkey = ImportKey(key);
    if (!pkey) return false;
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_from_pkey(nullptr, pkey, nullptr);
    // The digest is verified as given: no hash is applied to it again.
    const bool valid = ctx && EVP_PKEY_verify_init(ctx) == 1 &&
                       EVP_PKEY_verify(ctx, der.data(), der.size(), digest.data(), digest.size()) == 1;
    EVP_PKEY_CTX_free(ctx);
    EVP_PKEY_free(pkey);
    return valid;
}

}  // namespace vt
