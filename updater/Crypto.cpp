#include "updater/Crypto.h"

namespace vt {

bool Sha256Of(const ISha256Factory& factory, const void* data, std::size_t size, Sha256Digest& out) {
    std::unique_ptr<ISha256> hash = factory.NewSha256();
    if (!hash) return false;
    hash->Update(data, size);
    return hash->Finish(out);
}

}  // namespace vt
