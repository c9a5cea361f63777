#pragma once
// The zlib layer of the skin codecs: deflate with the zlib header and
// inflate of untrusted input, capped.
#include <QByteArray>
#include <cstdint>

namespace skin_limits {
// A decompressed skin larger than this is refused.
constexpr std::int64_t kMaxSkinBytes = 64 * 1024 * 1024;
}

// zlib with its header; the output is capped at kMaxSkinBytes. Raises
// EStreamError for a damaged stream, a failed checksum or too much output.
QByteArray SkinInflate(const char* data, std::int64_t size);
QByteArray SkinDeflate(const QByteArray& data, int level);

// The Adler-32 checksum zlib streams end with, continued from adler.
std::uint32_t SkinAdler32(std::uint32_t adler, const unsigned char* data, std::size_t size);
