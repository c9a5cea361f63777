#pragma once
// The component binary form ("TPF0", tags, ShortStrings) and text form
// ("object Name: TClass" ... "end"), readers, writers and converters.
// Readers treat their input as untrusted: every length is checked against
// what remains and against sane limits; damage raises EStreamError.
#include "prop_value.h"

#include <QByteArray>

// The binary form of one component, starting with "TPF0".
QByteArray WriteComponentBinary(const ComponentData& c);
// Reads a whole binary form; trailing bytes after the component are an error
// unless allowTrailing is set (then *consumed tells how much was read).
ComponentData ReadComponentBinary(const QByteArray& data, bool allowTrailing = false,
                                  int* consumed = nullptr);

// The text form, lines ending in CR LF.
QByteArray WriteComponentText(const ComponentData& c);
// sourceName goes into error messages with the line number.
ComponentData ReadComponentText(const QByteArray& text, const QString& sourceName = QString());

QByteArray ObjectBinaryToText(const QByteArray& binary);
QByteArray ObjectTextToBinary(const QByteArray& text);

// Limits applied to untrusted input.
namespace stream_limits {
constexpr int kMaxDepth = 64;
constexpr std::int64_t kMaxBinary = 64 * 1024 * 1024;
constexpr int kMaxItems = 1 << 20;
}
