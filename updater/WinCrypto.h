#pragma once
// The updater's hash and signature check on CNG (bcrypt.dll, part of
// Windows since Vista): BCryptCreateHash/BCryptHashData for SHA-256, and
// BCryptImportKeyPair with a BCRYPT_ECCPUBLIC_BLOB plus
// BCryptVerifySignature for ECDSA P-256.
#include <windows.h>

#include <bcrypt.h>

#include "updater/Crypto.h"

namespace vt::win {

class WinCrypto : public ICrypto {
public:
    WinCrypto();
    ~WinCrypto() override;
    WinCrypto(const WinCrypto&) = delete;
    WinCrypto& operator=(const WinCrypto&) = delete;

    std::unique_ptr<ISha256> NewSha256() const override;
    bool VerifyP256(const P256PublicKey& key, const Sha256Digest& digest,
                    const P256Signature& signature) const override;

private:
    // Opened once: opening a provider is the expensive part of CNG.
    BCRYPT_ALG_HANDLE m_hSha256 = nullptr;
    BCRYPT_ALG_HANDLE m_hEcdsa = nullptr;
};

}  // namespace vt::win
