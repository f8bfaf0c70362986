#include "shared/core/Gbk.h"

namespace vt {

Gbk Gbk::Fit(std::size_t maxBytes) const {
    if (m_strBytes.size() <= maxBytes) return *this;
    std::size_t n = 0;
    while (n < maxBytes) {
        const std::size_t width = IsGbkLeadByte(static_cast<unsigned char>(m_strBytes[n])) ? 2 : 1;
        if (n + width > maxBytes) break;
        n += width;
    }
    return Gbk(m_strBytes.substr(0, n));
}

}  // namespace vt
