#include "updater/Sha256.h"

#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define VT_SHA256_X86 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace vt {

namespace {

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr std::uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline std::uint32_t LoadBigEndian(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void HashBlocksPortable(std::uint32_t state[8], const std::uint8_t* data, std::size_t count) {
    for (; count > 0; --count, data += 64) {
        std::uint32_t w[64];
        for (int t = 0; t < 16; ++t) w[t] = LoadBigEndian(data + 4 * t);
        for (int t = 16; t < 64; ++t) {
            const std::uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = w[t - 16] + s0 + w[t - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int t = 0; t < 64; ++t) {
            const std::uint32_t t1 =
                h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[t] + w[t];
            const std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

#ifdef VT_SHA256_X86

// Only this function may use the extensions: the rest of the program runs
// on processors without them. A 32-bit Windows thread's stack may be only
// 4-byte aligned, and the vector registers spill to 16-byte slots.
#ifdef __i386__
#define VT_SHA_EXTENSIONS __attribute__((target("sha,sse4.1"), force_align_arg_pointer))
#else
#define VT_SHA_EXTENSIONS __attribute__((target("sha,sse4.1")))
#endif

VT_SHA_EXTENSIONS void HashBlocksShaExtensions(std::uint32_t state[8], const std::uint8_t* data, std::size_t count) {
    // The words of a block are big-endian; the instructions take them in
    // the processor's order.
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    // The instructions keep the state as ABEF and CDGH.
    __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0]));
    __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4]));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

    for (; count > 0; --count, data += 64) {
        const __m128i abefBefore = abef, cdghBefore = cdgh;
        // Four words of the schedule each, W[4i..4i+3] in msg[i % 4].
        __m128i msg[4];
        for (int i = 0; i < 4; ++i)
            msg[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)), byteSwap);
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            const __m128i w = msg[i & 3];
            const __m128i wk = _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i*>(&kRound[4 * i])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0E));
            if (i < 12) {
                // W[4i+16..4i+19] from W[4i..4i+15].
                const __m128i w4 = msg[(i + 1) & 3], w8 = msg[(i + 2) & 3], w12 = msg[(i + 3) & 3];
                const __m128i next = _mm_add_epi32(_mm_sha256msg1_epu32(w, w4), _mm_alignr_epi8(w12, w8, 4));
                msg[i & 3] = _mm_sha256msg2_epu32(next, w12);
            }
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    dcba = _mm_blend_epi16(feba, dchg, 0xF0);
    hgfe = _mm_alignr_epi8(dchg, feba, 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), dcba);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), hgfe);
}

bool ProcessorHasShaExtensions() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    // SSSE3 and SSE4.1 (leaf 1, ECX bits 9 and 19) for the byte swap and
    // the blend; every processor with SHA has them, but none is assumed.
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 9)) || !(c & (1u << 19))) return false;
    // SHA: leaf 7, sub-leaf 0, EBX bit 29.
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 29));
}

#endif

}  // namespace

bool Sha256BlocksAvailable(Sha256Blocks blocks) {
    if (blocks == Sha256Blocks::Portable) return true;
#ifdef VT_SHA256_X86
    static const bool hasExtensions = ProcessorHasShaExtensions();
    return hasExtensions;
#else
    return false;
#endif
}

Sha256::Sha256() : Sha256(Sha256Blocks::ShaExtensions) {}

Sha256::Sha256(Sha256Blocks blocks) : m_hashBlocks(HashBlocksPortable) {
#ifdef VT_SHA256_X86
    if (blocks == Sha256Blocks::ShaExtensions && Sha256BlocksAvailable(blocks)) m_hashBlocks = HashBlocksShaExtensions;
#else
    (void)blocks;
#endif
    std::memcpy(m_state, kInitial, sizeof m_state);
}

void Sha256::Update(const void* data, std::size_t size) {
    if (m_bFinished || size == 0) return;
    const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
    m_nTotal += size;
    if (m_nPending > 0) {
        const std::size_t take = size < 64 - m_nPending ? size : 64 - m_nPending;
        std::memcpy(m_pending + m_nPending, p, take);
        m_nPending += take;
        p += take;
        size -= take;
        if (m_nPending < 64) return;
        m_hashBlocks(m_state, m_pending, 1);
        m_nPending = 0;
    }
    // Whole blocks straight from the caller's bytes, without copying.
    const std::size_t whole = size / 64;
    if (whole > 0) m_hashBlocks(m_state, p, whole);
    p += whole * 64;
    size -= whole * 64;
    std::memcpy(m_pending, p, size);
    m_nPending = size;
}

bool Sha256::Finish(Sha256Digest& out) {
    if (m_bFinished) return false;
    // A 1 bit, zeros up to 8 bytes short of a block's end, then the length
    // in bits, big-endian: one block more when fewer than 9 bytes are left.
    const std::uint64_t bits = m_nTotal * 8;
    std::uint8_t tail[128] = {};
    std::memcpy(tail, m_pending, m_nPending);
    tail[m_nPending] = 0x80;
    const std::size_t tailSize = m_nPending < 56 ? 64 : 128;
    for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
    m_hashBlocks(m_state, tail, tailSize / 64);
    for (int i = 0; i < 8; ++i) {
        out[4 * i] = static_cast<std::uint8_t>(m_state[i] >> 24);
        out[4 * i + 1] = static_cast<std::uint8_t>(m_state[i] >> 16);
        out[4 * i + 2] = static_cast<std::uint8_t>(m_state[i] >> 8);
        out[4 * i + 3] = static_cast<std::uint8_t>(m_state[i]);
    }
    m_bFinished = true;
    return true;
}

}  // namespace vt
