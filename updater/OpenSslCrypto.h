#pragma once
// The updater's hash and signature check on OpenSSL's libcrypto, for the
// native build (the Windows program: WinCrypto.h).
#include "updater/Crypto.h"

namespace vt {

class OpenSslCrypto : public ICrypto {
public:
    std::unique_ptr<ISha256> NewSha256() const override;
    bool VerifyP256(const P256PublicKey& key, const Sha256Digest& digest,
                    const P256Signature& signature) const override;
};

}  // namespace vt
