#include "updater/SignedDescription.h"

#include <algorithm>
#include <vector>

#include "updater/DigestText.h"
#include "updater/UpdateDescription.h"

namespace vt {

SignatureCheck ReadSignatureFile(const std::string& text, P256Signature& out) {
    std::string line = text;
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
        line.resize(line.size() - 2);
    } else if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    std::vector<std::uint8_t> bytes;
    if (line.empty() || !DecodeBase64(line, bytes)) return SignatureCheck::BadText;
    if (bytes.size() != out.size()) return SignatureCheck::WrongLength;
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return SignatureCheck::Valid;
}

SignatureCheck CheckSignature(const ICrypto& crypto, const P256PublicKey& key, const std::string& description,
                              const std::string& signatureFile) {
    P256Signature signature;
    const SignatureCheck read = ReadSignatureFile(signatureFile, signature);
    if (read != SignatureCheck::Valid) return read;
    Sha256Digest digest;
    if (!Sha256Of(crypto, description.data(), description.size(), digest)) return SignatureCheck::Invalid;
    return crypto.VerifyP256(key, digest, signature) ? SignatureCheck::Valid : SignatureCheck::Invalid;
}

bool EveryComponentHasDigest(const IProfile& description) {
    const int count = ComponentScanCount(description, description.GetInt(kMainSection, "Total", 0));
    for (int i = 0; i < count; ++i) {
        if (!HasComponentSection(description, i)) continue;  // a gap is no component
        Sha256Digest digest;
        if (!ParseSha256Hex(description.GetString(ComponentSection(i), "sha256", ""), digest)) return false;
    }
    return true;
}

}  // namespace vt
