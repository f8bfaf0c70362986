#pragma once
// The updater's hash and signature check on Windows: SHA-256 is the
// updater's own (Sha256.h); ECDSA P-256 is CNG's (bcrypt.dll, part of
// Windows since Vista), BCryptImportKeyPair with a BCRYPT_ECCPUBLIC_BLOB
// plus BCryptVerifySignature.
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
    BCRYPT_ALG_HANDLE m_hEcdsa = nullptr;
};

}  // namespace vt::win
