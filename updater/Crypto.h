#pragma once
// The hash and the signature check the updater relies on, behind interfaces:
// the Windows program hashes with its own SHA-256 (Sha256.h) and checks
// signatures on CNG (bcrypt.dll), the native tests do both on OpenSSL's
// libcrypto.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vt {

using Sha256Digest = std::array<std::uint8_t, 32>;
// An uncompressed P-256 public point without its 0x04 prefix: X then Y,
// 32 bytes each, big-endian.
using P256PublicKey = std::array<std::uint8_t, 64>;
// An ECDSA P-256 signature as r then s, 32 bytes each, big-endian (not DER).
using P256Signature = std::array<std::uint8_t, 64>;

// SHA-256 of a stream of bytes.
class ISha256 {
public:
    virtual ~ISha256() = default;
    virtual void Update(const void* data, std::size_t size) = 0;
    // The digest of everything given so far; the object is spent afterwards.
    // False when the platform failed to compute it.
    virtual bool Finish(Sha256Digest& out) = 0;
};

class ISha256Factory {
public:
    virtual ~ISha256Factory() = default;
    // A fresh hash; null when the platform has none to give.
    virtual std::unique_ptr<ISha256> NewSha256() const = 0;
};

class ISignatureVerifier {
public:
    virtual ~ISignatureVerifier() = default;
    // Whether signature is a valid ECDSA P-256 signature of digest under key.
    // False as well for a key that is no point of the curve, an r or s out of
    // range, and any failure of the platform: only a proven signature counts.
    virtual bool VerifyP256(const P256PublicKey& key, const Sha256Digest& digest,
                            const P256Signature& signature) const = 0;
};

class ICrypto : public ISha256Factory, public ISignatureVerifier {};

// inner, fed on a thread of its own: Update only queues the bytes (at most a
// few MiB ahead), so hashing a download overlaps with receiving and writing
// it instead of adding to them. Finish waits for the queue to drain. Null
// stays null.
std::unique_ptr<ISha256> HashInBackground(std::unique_ptr<ISha256> inner);

// SHA-256 of one buffer; false when no hash could be computed.
bool Sha256Of(const ISha256Factory& factory, const void* data, std::size_t size, Sha256Digest& out);

}  // namespace vt
