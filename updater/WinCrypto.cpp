#include "updater/WinCrypto.h"

#include <cstring>

#include "updater/Sha256.h"

namespace vt::win {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

WinCrypto::WinCrypto() {
    if (!Succeeded(BCryptOpenAlgorithmProvider(&m_hEcdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) m_hEcdsa = nullptr;
}

WinCrypto::~WinCrypto() {
    if (m_hEcdsa) BCryptCloseAlgorithmProvider(m_hEcdsa, 0);
}

std::unique_ptr<ISha256> WinCrypto::NewSha256() const {
    // Not CNG's: Wine's uses no SHA extensions and checks a download slower
    // than a fast link brings it. On a thread of its own the hash overlaps
    // with receiving and writing; in-line it adds about a fifth to a
    // download over loopback.
    return HashInBackground(std::make_unique<Sha256>());
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
