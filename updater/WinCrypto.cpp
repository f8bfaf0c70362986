#include "updater/WinCrypto.h"

#include <cstring>
#include <vector>

namespace vt::win {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

class CngSha256 : public ISha256 {
public:
    CngSha256(BCRYPT_HASH_HANDLE hash, std::vector<UCHAR> object) : m_hHash(hash), m_object(std::move(object)) {}
    ~CngSha256() override { BCryptDestroyHash(m_hHash); }
    CngSha256(const CngSha256&) = delete;
    CngSha256& operator=(const CngSha256&) = delete;

    void Update(const void* data, std::size_t size) override {
        const UCHAR* p = static_cast<const UCHAR*>(data);
        while (m_bOk && size > 0) {
            const ULONG n = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
            m_bOk = Succeeded(BCryptHashData(m_hHash, const_cast<UCHAR*>(p), n, 0));
            p += n;
            size -= n;
        }
    }
    bool Finish(Sha256Digest& out) override {
        Sha256Digest digest;
        if (!m_bOk || !Succeeded(BCryptFinishHash(m_hHash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
            return false;
        m_bOk = false;  // a finished CNG hash takes no more data
        out = digest;
        return true;
    }

private:
    BCRYPT_HASH_HANDLE m_hHash;
    std::vector<UCHAR> m_object;  // the hash's state; CNG keeps a pointer to it
    bool m_bOk = true;
};

}  // namespace

WinCrypto::WinCrypto() {
    if (!Succeeded(BCryptOpenAlgorithmProvider(&m_hSha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) m_hSha256 = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&m_hEcdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) m_hEcdsa = nullptr;
}

WinCrypto::~WinCrypto() {
    if (m_hSha256) BCryptCloseAlgorithmProvider(m_hSha256, 0);
    if (m_hEcdsa) BCryptCloseAlgorithmProvider(m_hEcdsa, 0);
}

std::unique_ptr<ISha256> WinCrypto::NewSha256() const {
    if (!m_hSha256) return nullptr;
    DWORD objectSize = 0;
    ULONG got = 0;
    if (!Succeeded(BCryptGetProperty(m_hSha256, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectSize),
                                     sizeof objectSize, &got, 0)))
        return nullptr;
    std::vector<UCHAR> object(objectSize);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(BCryptCreateHash(m_hSha256, &hash, object.data(), objectSize, nullptr, 0, 0))) return nullptr;
    // Under Wine CNG hashes at about the speed a download arrives over a
    // fast link; on a thread of its own the hash costs the download little.
    return HashInBackground(std::make_unique<CngSha256>(hash, std::move(object)));
}

bool WinCrypto::VerifyP256(const P256PublicKey& key, const Sha256Digest& digest, const P256Signature& signature) const {
    if (!m_hEcdsa) return false;
    // BCRYPT_ECCKEY_BLOB, then X and Y, 32 bytes each, big-endian.
    UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64];
    BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob, &header, sizeof header);
    std::memcpy(blob + sizeof header, key.data(), key.size());
    BCRYPT_KEY_HANDLE hKey = nullptr;
    if (!Succeeded(BCryptImportKeyPair(m_hEcdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &hKey, blob, sizeof blob, 0)))
        return false;
    Sha256Digest hash = digest;
    P256Signature sig = signature;
    const NTSTATUS status = BCryptVerifySignature(hKey, nullptr, hash.data(), static_cast<ULONG>(hash.size()),
                                                  sig.data(), static_cast<ULONG>(sig.size()), 0);
    BCryptDestroyKey(hKey);
    return status == 0;  // STATUS_SUCCESS; a wrong signature is STATUS_INVALID_SIGNATURE
}

}  // namespace vt::win
