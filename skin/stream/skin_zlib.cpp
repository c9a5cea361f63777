#include "skin_zlib.h"

#include "exceptions.h"

#include <algorithm>
#include <zlib.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

[[noreturn]] void Damaged(const QString& why) {
    throw EStreamError(QStringLiteral("The skin stream cannot be decompressed: %1").arg(why));
}

// Frees the inflate state however the function is left.
struct Inflater {
    z_stream z{};
    Inflater() {
        // Raw deflate: the two header bytes and the checksum are ours to check.
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) Damaged(QStringLiteral("zlib failed to start"));
    }
    ~Inflater() { inflateEnd(&z); }
};

// The two bytes before the deflate data, checked as zlib checks them.
void CheckHeader(const unsigned char* h, std::int64_t size) {
    if (size < 2) throw EStreamError(QStringLiteral("The skin stream ends before its compressed data does"));
    if ((h[0] * 256 + h[1]) % 31 != 0) Damaged(QStringLiteral("incorrect header check"));
    if ((h[0] & 0x0F) != Z_DEFLATED) Damaged(QStringLiteral("unknown compression method"));
    if ((h[0] >> 4) + 8 > MAX_WBITS) Damaged(QStringLiteral("invalid window size"));
    if (h[1] & 0x20) Damaged(QStringLiteral("need dictionary"));
}

}  // namespace

std::uint32_t SkinAdler32(std::uint32_t adler, const unsigned char* data, std::size_t size) {
    constexpr std::uint32_t kBase = 65521;
    constexpr std::size_t kBlock = 5552;  // the most bytes before the sums can overflow 32 bits
    std::uint64_t s1 = adler & 0xFFFF, s2 = adler >> 16;
    while (size > 0) {
        std::size_t n = std::min(size, kBlock);
        size -= n;
#if defined(__SSE2__)
        // Sixteen bytes at a time: s1 grows by their sum; s2 by 16 x s1 before
        // them plus the bytes weighted 16 down to 1.
        const std::size_t wide = n & ~std::size_t(15);
        if (wide > 0) {
            const __m128i zero = _mm_setzero_si128();
            const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
            const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
            __m128i sums = zero, sumsBefore = zero, weighted = zero;
            for (std::size_t k = 0; k < wide; k += 16) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + k));
                sumsBefore = _mm_add_epi64(sumsBefore, sums);
                sums = _mm_add_epi64(sums, _mm_sad_epu8(bytes, zero));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), weightsLow));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), weightsHigh));
            }
            alignas(16) std::uint64_t s[2], b[2];
            alignas(16) std::uint32_t w[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(s), sums);
            _mm_store_si128(reinterpret_cast<__m128i*>(b), sumsBefore);
            _mm_store_si128(reinterpret_cast<__m128i*>(w), weighted);
            s2 += s1 * wide + 16 * (b[0] + b[1]) + std::uint64_t(w[0]) + w[1] + w[2] + w[3];
            s1 += s[0] + s[1];
            data += wide;
            n -= wide;
        }
#endif
        for (; n > 0; --n) {
            s1 += *data++;
            s2 += s1;
        }
        s1 %= kBase;
        s2 %= kBase;
    }
    return std::uint32_t(s2 << 16 | s1);
}

// zlib's own inflate checks the checksum one byte at a time; reading the
// embedded skin spent a third of its inflate doing that. The raw inflate with
// the same checks on both ends is as strict and much faster.
QByteArray SkinInflate(const char* data, std::int64_t size) {
    const auto* in = reinterpret_cast<const unsigned char*>(data);
    CheckHeader(in, size);
    Inflater inflater;
    z_stream& z = inflater.z;
    QByteArray out;
    std::int64_t cap = std::min<std::int64_t>(std::max<std::int64_t>(size * 8, 65536), skin_limits::kMaxSkinBytes);
    out.resize(qsizetype(cap));
    z.next_in = const_cast<Bytef*>(in + 2);
    std::int64_t inLeft = size - 2;
    std::int64_t produced = 0;
    for (;;) {
        if (z.avail_in == 0 && inLeft > 0) {
            const uInt chunk = uInt(std::min<std::int64_t>(inLeft, 1 << 30));
            z.avail_in = chunk;
            inLeft -= chunk;
        }
        if (produced == std::int64_t(out.size())) {
            if (produced >= skin_limits::kMaxSkinBytes)
                throw EStreamError(QStringLiteral("The skin stream decompresses to more than %1 bytes").arg(skin_limits::kMaxSkinBytes));
            out.resize(qsizetype(std::min<std::int64_t>(produced * 2, skin_limits::kMaxSkinBytes)));
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        z.avail_out = uInt(out.size() - produced);
        const uInt before = z.avail_out;
        const int rc = inflate(&z, Z_NO_FLUSH);
        produced += before - z.avail_out;
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && z.avail_in == 0 && inLeft == 0)
            throw EStreamError(QStringLiteral("The skin stream ends before its compressed data does"));
        if (rc != Z_OK && rc != Z_BUF_ERROR) Damaged(z.msg ? QString::fromLatin1(z.msg) : QString::number(rc));
    }
    // The big-endian checksum of what came out follows the deflate data.
    const std::int64_t rest = std::int64_t(z.avail_in) + inLeft;
    if (rest < 4) throw EStreamError(QStringLiteral("The skin stream ends before its compressed data does"));
    const unsigned char* t = z.next_in;
    const std::uint32_t stored = std::uint32_t(t[0]) << 24 | std::uint32_t(t[1]) << 16 | std::uint32_t(t[2]) << 8 | t[3];
    if (SkinAdler32(1, reinterpret_cast<const unsigned char*>(out.constData()), std::size_t(produced)) != stored)
        Damaged(QStringLiteral("incorrect data check"));
    out.resize(qsizetype(produced));
    return out;
}

QByteArray SkinDeflate(const QByteArray& data, int level) {
    uLongf len = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(len), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &len, reinterpret_cast<const Bytef*>(data.constData()),
                  uLong(data.size()), level) != Z_OK)
        throw EStreamError(QStringLiteral("The skin stream cannot be compressed"));
    out.resize(qsizetype(len));
    return out;
}
