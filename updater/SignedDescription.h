#pragma once
// When a server description may be trusted in signed mode: its signature
// file holds one base64 line with the 64-byte ECDSA P-256 signature (r then
// s) of the SHA-256 of the description's exact bytes, made with the
// publisher's key, and every component of it names the SHA-256 of its file,
// so that the signature covers the files too.
#include <string>

#include "shared/core/Profile.h"
#include "updater/Crypto.h"

namespace vt {

// The signature file sits beside the description: its address is the
// description's with this appended.
constexpr char kSignatureSuffix[] = ".sig";

enum class SignatureCheck {
    Valid,
    BadText,      // not one line of base64
    WrongLength,  // base64, but not 64 bytes
    Invalid,      // a signature, but not of these bytes under this key
};

// The signature file's text: base64 on one line, a line break after it
// allowed (CRLF or LF), nothing else.
SignatureCheck ReadSignatureFile(const std::string& text, P256Signature& out);

SignatureCheck CheckSignature(const ICrypto& crypto, const P256PublicKey& key, const std::string& description,
                              const std::string& signatureFile);

// Every component section the updater visits (see ComponentScanCount) has
// a well-formed sha256.
bool EveryComponentHasDigest(const IProfile& description);

}  // namespace vt
