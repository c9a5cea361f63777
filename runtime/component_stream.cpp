#include "component_stream.h"

#include "component_cursor.h"
#include "exceptions.h"
#include "gbk.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using Kind = PropValue::Kind;

namespace {

enum Tag : unsigned char {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5,
    vaString = 6, vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11,
    vaLString = 12, vaNil = 13, vaCollection = 14, vaSingle = 15, vaCurrency = 16,
    vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20, vaDouble = 21,
};

// ---- binary writing --------------------------------------------------------

class BinWriter {
public:
    QByteArray out;
    void Byte(unsigned char b) { out.append(char(b)); }
    void Int32(std::int32_t v) {
        for (int k = 0; k < 4; ++k) Byte(static_cast<unsigned char>((std::uint32_t(v) >> (8 * k)) & 0xFF));
    }
    void Raw(const QByteArray& b) { out.append(b); }
    void Short(const QByteArray& s) {
        if (s.size() > 255) throw EStreamError(QStringLiteral("Name too long for a short string: %1").arg(QString::fromLatin1(s.left(40))));
        Byte(static_cast<unsigned char>(s.size()));
        Raw(s);
    }
    void ShortName(const QString& s) { Short(gbk::encode(s)); }

    void Value(const PropValue& v) {
        switch (v.kind) {
        case Kind::Null: Byte(vaNull); break;
        case Kind::Int:
            if (v.i >= -128 && v.i <= 127) { Byte(vaInt8); Byte(static_cast<unsigned char>(v.i)); }
            else if (v.i >= -32768 && v.i <= 32767) {
                Byte(vaInt16);
                Byte(static_cast<unsigned char>(v.i & 0xFF));
                Byte(static_cast<unsigned char>((v.i >> 8) & 0xFF));
            } else if (v.i >= std::numeric_limits<std::int32_t>::min() && v.i <= std::numeric_limits<std::int32_t>::max()) {
                Byte(vaInt32); Int32(std::int32_t(v.i));
            } else {
                Byte(vaInt64);
                for (int k = 0; k < 8; ++k) Byte(static_cast<unsigned char>((std::uint64_t(v.i) >> (8 * k)) & 0xFF));
            }
            break;
        case Kind::Float: {
            Byte(vaExtended);
            long double x = v.f;
            unsigned char bytes[16] = {};
            std::memcpy(bytes, &x, sizeof x < 16 ? sizeof x : 16);
            for (int k = 0; k < 10; ++k) Byte(bytes[k]);
            break;
        }
        case Kind::String: {
            QByteArray enc = gbk::encode(v.s);
            if (gbk::decode(enc) == v.s) {
                if (enc.size() <= 255) { Byte(vaString); Short(enc); }
                else { Byte(vaLString); Int32(std::int32_t(enc.size())); Raw(enc); }
            } else {
                QByteArray u = v.s.toUtf8();
                Byte(vaUTF8String); Int32(std::int32_t(u.size())); Raw(u);
            }
            break;
        }
        case Kind::Ident:
            if (v.s == QLatin1String("nil")) Byte(vaNil);
            else { Byte(vaIdent); ShortName(v.s); }
            break;
        case Kind::Bool: Byte(v.b ? vaTrue : vaFalse); break;
        case Kind::Binary: Byte(vaBinary); Int32(std::int32_t(v.bin.size())); Raw(v.bin); break;
        case Kind::Set:
            Byte(vaSet);
            for (const QString& m : v.set) ShortName(m);
            Byte(0);
            break;
        case Kind::List:
            Byte(vaList);
            for (const PropValue& item : v.list) Value(item);
            Byte(vaNull);
            break;
        }
    }

    void Object(const ComponentData& c) {
        ShortName(c.className);
        ShortName(c.name);
        for (const PropEntry& p : c.props) {
            ShortName(p.name);
            Value(p.value);
        }
        Byte(0);
        for (const ComponentData& child : c.children) Object(child);
        Byte(0);
    }
};

// ---- binary reading ----------------------------------------------------------

class BinReader {
public:
    BinReader(const char* data, std::int64_t size) : data_(data), size_(size) {}
    std::int64_t pos = 0;

    std::int64_t Remaining() const { return size_ - pos; }
    [[noreturn]] void Fail(const QString& what) const {
        throw EStreamError(QStringLiteral("Invalid component stream at byte %1: %2").arg(pos).arg(what));
    }
    Q_ALWAYS_INLINE void Need(std::int64_t n) const {
        if (n < 0 || n > Remaining()) [[unlikely]] NotEnough(n);
    }
    [[noreturn]] void NotEnough(std::int64_t n) const {
        Fail(QStringLiteral("needs %1 more bytes, %2 left").arg(n).arg(Remaining()));
    }
    Q_ALWAYS_INLINE unsigned char Byte() { Need(1); return static_cast<unsigned char>(data_[pos++]); }
    Q_ALWAYS_INLINE unsigned char Peek() const { Need(1); return static_cast<unsigned char>(data_[pos]); }
    std::int64_t Int(int bytes) {
        Need(bytes);
        std::uint64_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= std::uint64_t(static_cast<unsigned char>(data_[pos + k])) << (8 * k);
        pos += bytes;
        if (bytes < 8 && (v >> (8 * bytes - 1)) & 1) v |= ~std::uint64_t(0) << (8 * bytes);  // sign-extend
        return std::int64_t(v);
    }
    const char* Take(std::int64_t n) {
        Need(n);
        const char* p = data_ + pos;
        pos += n;
        return p;
    }
    QByteArray Raw(std::int64_t n) { return QByteArray(Take(n), qsizetype(n)); }
    // Names are nearly always ASCII: a view into the input, else decoded into scratch.
    QAnyStringView NameView(QString& scratch) {
        const int n = Byte();
        const char* p = Take(n);
        // Any byte with its top bit set; words read stay inside the input.
        std::uint64_t high = 0;
        if (n >= 8) {
            std::uint64_t w;
            for (int k = 0; k + 8 <= n; k += 8) {
                std::memcpy(&w, p + k, 8);
                high |= w;
            }
            std::memcpy(&w, p + n - 8, 8);
            high |= w;
        } else {
            for (int k = 0; k < n; ++k) high |= uchar(p[k]);
        }
        if (high & 0x8080808080808080ull) {
            scratch = gbk::decode(QByteArray(p, n));
            return scratch;
        }
        return QLatin1StringView(p, n);
    }
    QString ShortName() {
        QString scratch;
        return NameView(scratch).toString();
    }
    std::int64_t Length() {
        std::int64_t n = Int(4);
        if (n < 0 || n > stream_limits::kMaxBinary) Fail(QStringLiteral("bad length %1").arg(n));
        Need(n);
        return n;
    }

    PropValue Value(int depth) {
        if (depth > stream_limits::kMaxDepth) Fail(QStringLiteral("values nested too deep"));
        unsigned char tag = Byte();
        switch (tag) {
        case vaNull: return PropValue();
        case vaInt8: return PropValue::Int(Int(1));
        case vaInt16: return PropValue::Int(Int(2));
        case vaInt32: return PropValue::Int(Int(4));
        case vaInt64: return PropValue::Int(Int(8));
        case vaExtended: {
            long double x = 0;
            unsigned char bytes[16] = {};
            std::memcpy(bytes, Take(10), 10);
            std::memcpy(&x, bytes, sizeof x < 16 ? sizeof x : 16);
            return PropValue::Float(double(x));
        }
        case vaSingle: {
            float x;
            std::memcpy(&x, Take(4), 4);
            return PropValue::Float(x);
        }
        case vaDouble: case vaDate: {
            double x;
            std::memcpy(&x, Take(8), 8);
            return PropValue::Float(x);
        }
        case vaCurrency: return PropValue::Float(double(Int(8)) / 10000.0);
        case vaString: return PropValue::Str(ShortName());
        case vaLString: return PropValue::Str(gbk::decode(Raw(Length())));
        case vaUTF8String: return PropValue::Str(QString::fromUtf8(Raw(Length())));
        case vaWString: {
            std::int64_t n = Int(4);
            if (n < 0 || n > stream_limits::kMaxBinary / 2) Fail(QStringLiteral("bad wide string length %1").arg(n));
            const char* b = Take(n * 2);
            QString s(qsizetype(n), Qt::Uninitialized);
            std::memcpy(s.data(), b, std::size_t(n) * 2);
            return PropValue::Str(s);
        }
        case vaIdent: return PropValue::Ident(ShortName());
        case vaNil: return PropValue::Ident(QStringLiteral("nil"));
        case vaFalse: return PropValue::Bool(false);
        case vaTrue: return PropValue::Bool(true);
        case vaBinary: return PropValue::Binary(Raw(Length()));
        case vaSet: {
            QStringList members;
            for (;;) {
                QString m = ShortName();
                if (m.isEmpty()) break;
                if (members.size() >= stream_limits::kMaxItems) Fail(QStringLiteral("set too large"));
                members << m;
            }
            return PropValue::Set(members);
        }
        case vaList: {
            std::vector<PropValue> items;
            while (Peek() != vaNull) {
                if (int(items.size()) >= stream_limits::kMaxItems) Fail(QStringLiteral("list too long"));
                items.push_back(Value(depth + 1));
            }
            Byte();
            return PropValue::List(std::move(items));
        }
        default:
            Fail(QStringLiteral("unknown value tag 0x%1").arg(int(tag), 2, 16, QChar('0')));
        }
    }

private:
    const char* data_;
    std::int64_t size_;
};

// A cursor of either form; Finish reads what follows the properties.
class FormCursor : public ComponentCursor {
public:
    virtual void Finish() = 0;
};

ComponentData Collect(FormCursor& c) {
    ComponentData d;
    d.className = c.ClassName();
    d.name = c.ObjectName();
    d.line = c.ObjectLine();
    d.props.reserve(16);
    while (c.Next()) {
        PropEntry e;
        e.name = c.Name().toString();
        e.line = c.Line();
        e.value = c.Value();
        d.props.push_back(std::move(e));
    }
    c.Finish();
    d.children = std::move(c.Children());
    return d;
}

class BinCursor final : public FormCursor {
public:
    BinCursor(BinReader& r, int depth) : r_(r), depth_(depth) {
        if (depth > stream_limits::kMaxDepth) r.Fail(QStringLiteral("components nested too deep"));
        const unsigned char first = r.Peek();
        if ((first & 0xF0) == 0xF0) {  // filer flags of an inherited or inline child
            r.Byte();
            if (first & 0x02) r.Value(depth + 1);  // creation index
        }
        className_ = r.ShortName();
        objectName_ = r.ShortName();
        if (className_.isEmpty()) r.Fail(QStringLiteral("empty class name"));
    }

    bool Next() override {
        if (pending_) Value();
        if (ended_) return false;
        if (r_.Peek() == 0) {
            r_.Byte();
            ended_ = true;
            return false;
        }
        if (count_++ >= stream_limits::kMaxItems) r_.Fail(QStringLiteral("too many properties"));
        name_ = r_.NameView(nameScratch_);
        pending_ = true;
        return true;
    }
    bool TakeInt(std::int64_t& v) override {
        if (!pending_) return false;
        int bytes;
        switch (r_.Peek()) {
        case vaInt8: bytes = 1; break;
        case vaInt16: bytes = 2; break;
        case vaInt32: bytes = 4; break;
        case vaInt64: bytes = 8; break;
        default: return false;
        }
        r_.Byte();
        v = r_.Int(bytes);
        pending_ = false;
        return true;
    }
    bool TakeBool(bool& v) override {
        if (Tagged(vaTrue)) v = true;
        else if (Tagged(vaFalse)) v = false;
        else return false;
        return true;
    }
    bool TakeIdent(QAnyStringView& v) override { return Tagged(vaIdent) && (v = r_.NameView(identScratch_), true); }
    bool TakeString(QString& v) override { return Tagged(vaString) && (v = r_.ShortName(), true); }
    bool TakeStringView(QAnyStringView& v) override { return Tagged(vaString) && (v = r_.NameView(stringScratch_), true); }
    bool TakeBinary(QByteArrayView& v) override {
        if (!Tagged(vaBinary)) return false;
        const std::int64_t n = r_.Length();
        v = QByteArrayView(r_.Take(n), qsizetype(n));
        return true;
    }
    PropValue Value() override {
        if (!pending_) r_.Fail(QStringLiteral("no value to read"));
        pending_ = false;
        return r_.Value(depth_ + 1);
    }
    void Finish() override {
        while (Next()) {}
        while (r_.Peek() != 0) {
            if (int(children_.size()) >= stream_limits::kMaxItems) r_.Fail(QStringLiteral("too many components"));
            BinCursor child(r_, depth_ + 1);
            children_.push_back(Collect(child));
        }
        r_.Byte();
    }

private:
    BinReader& r_;
    int depth_;
    int count_ = 0;
    bool pending_ = false;
    bool ended_ = false;
    QString nameScratch_, identScratch_, stringScratch_;

    // The value has the tag: it is taken, its payload is the caller's to read.
    bool Tagged(unsigned char tag) {
        if (!pending_ || r_.Peek() != tag) return false;
        r_.Byte();
        pending_ = false;
        return true;
    }
};

// ---- text writing --------------------------------------------------------------

QString QuoteString(const QString& s) {
    if (s.isEmpty()) return QStringLiteral("''");
    QString out;
    bool inQuotes = false;
    for (QChar ch : s) {
        if (ch.unicode() >= 32 && ch.unicode() != 127) {
            if (!inQuotes) { out += '\''; inQuotes = true; }
            if (ch == '\'') out += QStringLiteral("''");
            else out += ch;
        } else {
            if (inQuotes) { out += '\''; inQuotes = false; }
            out += '#' + QString::number(ch.unicode());
        }
    }
    if (inQuotes) out += '\'';
    return out;
}

QString FloatText(double f) {
    QString t = QString::number(f, 'g', 17);
    if (!t.contains('.') && !t.contains('e') && !t.contains("inf") && !t.contains("nan")) t += QStringLiteral(".0");
    return t;
}

void WriteValue(QString& out, const PropValue& v, int indent) {
    const QString pad(indent * 2, ' ');
    switch (v.kind) {
    case Kind::Null: out += QStringLiteral("nil"); break;
    case Kind::Int: out += QString::number(v.i); break;
    case Kind::Float: out += FloatText(v.f); break;
    case Kind::String: out += QuoteString(v.s); break;
    case Kind::Ident: out += v.s; break;
    case Kind::Bool: out += v.b ? QStringLiteral("True") : QStringLiteral("False"); break;
    case Kind::Set: out += '[' + v.set.join(QStringLiteral(", ")) + ']'; break;
    case Kind::Binary: {
        out += '{';
        const QByteArray hex = v.bin.toHex().toUpper();
        for (int k = 0; k < hex.size(); k += 64) {
            out += QStringLiteral("\r\n") + pad + QString::fromLatin1(hex.mid(k, 64));
        }
        out += '}';
        break;
    }
    case Kind::List:
        out += '(';
        for (const PropValue& item : v.list) {
            out += QStringLiteral("\r\n") + pad;
            WriteValue(out, item, indent + 1);
        }
        out += ')';
        break;
    }
}

void WriteObject(QString& out, const ComponentData& c, int level) {
    const QString pad(level * 2, ' ');
    out += pad + QStringLiteral("object ") + c.name + QStringLiteral(": ") + c.className + QStringLiteral("\r\n");
    for (const PropEntry& p : c.props) {
        out += pad + QStringLiteral("  ") + p.name + QStringLiteral(" = ");
        WriteValue(out, p.value, level + 2);
        out += QStringLiteral("\r\n");
    }
    for (const ComponentData& child : c.children) WriteObject(out, child, level + 1);
    out += pad + QStringLiteral("end\r\n");
}


// ---- text reading ------------------------------------------------------------------

bool SameWord(QAnyStringView word, const char* keyword) {
    return QAnyStringView::compare(word, QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}
bool IsObjectKeyword(QAnyStringView word) {
    return SameWord(word, "object") || SameWord(word, "inherited") || SameWord(word, "inline");
}

// Hexadecimal digit values of the ASCII characters, -1 for the rest.
constexpr auto kHexDigit = [] {
    std::array<signed char, 128> t{};
    for (int c = 0; c < 128; ++c)
        t[std::size_t(c)] = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    return t;
}();

#if defined(__SSE2__)
// Sixteen ASCII digits to eight bytes; false when one is not a digit.
inline bool HexBlock(__m128i c, char* out) {
    // '0'..'9' -> 0..9; 'A'..'F' and 'a'..'f' -> 10..15
    const __m128i dec = _mm_sub_epi8(c, _mm_set1_epi8('0'));
    const __m128i isDec = _mm_cmpeq_epi8(_mm_min_epu8(dec, _mm_set1_epi8(9)), dec);
    const __m128i let = _mm_sub_epi8(_mm_or_si128(c, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isLet = _mm_cmpeq_epi8(_mm_min_epu8(let, _mm_set1_epi8(5)), let);
    if (_mm_movemask_epi8(_mm_or_si128(isDec, isLet)) != 0xFFFF) return false;
    const __m128i nib = _mm_or_si128(_mm_and_si128(isDec, dec), _mm_and_si128(isLet, _mm_add_epi8(let, _mm_set1_epi8(10))));
    // Each 16-bit lane holds a pair: first digit low, second high.
    const __m128i pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(nib, _mm_set1_epi16(0x00FF)), 4), _mm_srli_epi16(nib, 8));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(pairs, _mm_setzero_si128()));
    return true;
}
#endif

// Decodes hexadecimal digit pairs, and skips the blanks between them, from
// the start of n characters until something else (or a digit whose partner
// is missing) comes; counts the line ends passed. Skins carry their children
// as tens of kilobytes of such text, sixteen digits at a time here.
struct HexRun {
    std::size_t read = 0, written = 0;
    int lines = 0;
};
template <class C>
HexRun DecodeHexRun(const C* d, std::size_t n, char* out) {
    HexRun run;
    std::size_t& k = run.read;
    auto code = [d](std::size_t i) { return unsigned(std::make_unsigned_t<C>(d[i])); };
    for (;;) {
#if defined(__SSE2__)
        for (; k + 16 <= n; k += 16) {
            __m128i c;
            if constexpr (sizeof(C) == 1) {
                c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
            } else {  // anything past 255 saturates to a non-digit
                c = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k)),
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k + 8)));
            }
            if (!HexBlock(c, out + run.written)) break;
            run.written += 8;
        }
#endif
        for (; k + 2 <= n; k += 2) {
            const int a = code(k) < 128 ? kHexDigit[code(k)] : -1;
            const int b = code(k + 1) < 128 ? kHexDigit[code(k + 1)] : -1;
            if ((a | b) < 0) break;
            out[run.written++] = char(a << 4 | b);
        }
        if (k >= n || code(k) > 32) return run;
        for (; k < n && code(k) <= 32; ++k) run.lines += code(k) == '\n';
    }
}

// The text form over UTF-16 text (char16_t) or, for pure ASCII input such as
// skins bring, straight over its bytes (char).
template <class C>
class TextReader {
public:
    using View = std::conditional_t<sizeof(C) == 1, QLatin1StringView, QStringView>;

    TextReader(const C* text, qsizetype size, const QString& source)
        : d_(text), n_(size), source_(source.isEmpty() ? QStringLiteral("<text>") : source) {}

    [[noreturn]] void Fail(const QString& what) const {
        throw EStreamError(QStringLiteral("%1(%2): %3").arg(source_).arg(line_).arg(what));
    }

    struct Mark { qsizetype pos; int line; };
    Mark Save() const { return {pos_, line_}; }
    void Restore(Mark m) { pos_ = m.pos; line_ = m.line; }

    char16_t At(qsizetype k) const { return char16_t(std::make_unsigned_t<C>(d_[k])); }
    View Mid(qsizetype start, qsizetype length) const { return View(d_ + start, length); }

    void SkipBlank() {
        while (pos_ < n_) {
            const char16_t c = At(pos_);
            if (c == '\n') { ++line_; ++pos_; }
            else if (c <= 32) ++pos_;
            else if (c == '/' && pos_ + 1 < n_ && At(pos_ + 1) == '/') {
                while (pos_ < n_ && At(pos_) != '\n') ++pos_;
            } else break;
        }
    }
    bool AtEnd() { SkipBlank(); return pos_ >= n_; }
    QChar PeekChar() { SkipBlank(); return pos_ < n_ ? QChar(At(pos_)) : QChar(); }
    void Skip() { ++pos_; }
    void Expect(QChar c) {
        if (PeekChar() != c) Fail(QStringLiteral("'%1' expected").arg(c));
        ++pos_;
    }
    static bool IsIdentChar(char16_t u) {
        if (u < 0x80) return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '.';
        return QChar(u).isLetterOrNumber();
    }
    // A view into the text, valid as long as the reader.
    View IdentView() {
        SkipBlank();
        const qsizetype start = pos_;
        while (pos_ < n_ && IsIdentChar(At(pos_))) ++pos_;
        if (start == pos_) Fail(QStringLiteral("identifier expected"));
        return Mid(start, pos_ - start);
    }
    QString Ident() { return IdentView().toString(); }
    int Line() const { return line_; }

    // A string of quoted parts and #N codes, possibly joined by '+' across lines.
    // #N codes below 256 are bytes of 8-bit GBK text; others are UTF-16 units.
    QString StringValue() {
        QString result;
        QByteArray pendingBytes;
        auto flush = [&] { if (!pendingBytes.isEmpty()) { result += gbk::decode(pendingBytes); pendingBytes.clear(); } };
        PeekChar();
        for (;;) {
            const char16_t c = pos_ < n_ ? At(pos_) : 0;
            if (c == '\'') {
                flush();
                ++pos_;
                for (;;) {
                    if (pos_ >= n_ || At(pos_) == '\n') Fail(QStringLiteral("unterminated string"));
                    if (At(pos_) == '\'') {
                        if (pos_ + 1 < n_ && At(pos_ + 1) == '\'') { result += '\''; pos_ += 2; continue; }
                        ++pos_;
                        break;
                    }
                    // Copy the run up to the next quote or line end at once.
                    qsizetype end = pos_;
                    while (end < n_ && At(end) != '\'' && At(end) != '\n') ++end;
                    result += Mid(pos_, end - pos_);
                    pos_ = end;
                }
            } else if (c == '#') {
                ++pos_;
                const qsizetype start = pos_;
                while (pos_ < n_ && QChar(At(pos_)).isDigit()) ++pos_;
                bool ok = false;
                const uint code = Mid(start, pos_ - start).toString().toUInt(&ok);
                if (!ok || code > 0xFFFF) Fail(QStringLiteral("bad character code"));
                if (code < 256 && code >= 128) pendingBytes.append(char(code));
                else { flush(); result += QChar(char16_t(code)); }
            } else {
                break;
            }
            // Parts join when adjacent, or through a '+' that may end the line.
            const Mark save = Save();
            if (PeekChar() == '+') {
                ++pos_;
                const QChar next = PeekChar();
                if (next != '\'' && next != '#') Fail(QStringLiteral("string expected after '+'"));
            } else {
                Restore(save);
            }
        }
        flush();
        return result;
    }

    // A string of one quoted part with nothing to undo in it, as a view;
    // false, reading nothing, for any other string.
    bool PlainString(View& v) {
        SkipBlank();
        if (pos_ >= n_ || At(pos_) != '\'') return false;
        qsizetype end = pos_ + 1;
        while (end < n_ && At(end) != '\'' && At(end) != '\n') ++end;
        if (end >= n_ || At(end) != '\'') return false;
        const Mark save = Save();
        const qsizetype start = pos_ + 1;
        pos_ = end + 1;
        const QChar next = PeekChar();  // a doubled quote, a code or a join continues it
        if (next == '\'' || next == '#' || next == '+') {
            Restore(save);
            return false;
        }
        v = Mid(start, end - start);
        return true;
    }

    // {hex digits}, across lines.
    QByteArray BinaryValue() {
        Expect('{');
        qsizetype close = pos_;
        if constexpr (sizeof(C) == 1) {
            const void* brace = std::memchr(d_ + pos_, '}', std::size_t(n_ - pos_));
            close = brace ? static_cast<const C*>(brace) - d_ : -1;
        } else {
            close = QStringView(d_, n_).indexOf(u'}', pos_);
        }
        if (close < 0) Fail(QStringLiteral("'}' expected"));
        QByteArray out(qsizetype((close - pos_) / 2 + 1), Qt::Uninitialized);
        char* o = out.data();
        auto digit = [this](qsizetype k) { return At(k) < 128 ? kHexDigit[At(k)] : -1; };
        // Locals, not members: the output bytes could alias them.
        qsizetype i = pos_;
        int lines = 0;
        int high = -1;
        while (i < close) {
            // The usual run: pairs of digits between line breaks.
            if (high < 0) {
                const HexRun run = DecodeHexRun(d_ + i, std::size_t(close - i), o);
                i += qsizetype(run.read);
                o += run.written;
                lines += run.lines;
                if (i >= close) break;
            }
            const int a = digit(i);
            const char16_t h = At(i++);
            if (a < 0) {
                if (h == '\n') ++lines;
                else if (h > 32) {
                    pos_ = i - 1;
                    line_ += lines;
                    Fail(QStringLiteral("bad hexadecimal digit"));
                }
                continue;
            }
            if (high < 0) high = a;
            else { *o++ = char(high << 4 | a); high = -1; }
        }
        pos_ = i;
        line_ += lines;
        ++pos_;
        if (high >= 0) Fail(QStringLiteral("odd number of hexadecimal digits"));
        out.truncate(qsizetype(o - out.data()));
        return out;
    }

    static bool StartsNumber(QChar c) { return c == '-' || c == '+' || c == '$' || (c.unicode() < 0x80 && c.isDigit()); }

    // An integer or a floating-point number; the caller has seen StartsNumber.
    PropValue NumberValue() {
        SkipBlank();
        const qsizetype start = pos_;
        if (At(pos_) == '$') {
            ++pos_;
            while (pos_ < n_ && At(pos_) < 128 && isxdigit(At(pos_))) ++pos_;
            bool ok = false;
            qint64 v = Mid(start + 1, pos_ - start - 1).toString().toLongLong(&ok, 16);
            if (!ok) Fail(QStringLiteral("bad hexadecimal number"));
            return PropValue::Int(v);
        }
        ++pos_;
        bool isFloat = false;
        while (pos_ < n_) {
            const char16_t c = At(pos_);
            if (c >= '0' && c <= '9') ++pos_;
            else if (c == '.' || c == 'e' || c == 'E') { isFloat = true; ++pos_; }
            else if ((c == '-' || c == '+') && (At(pos_ - 1) == 'e' || At(pos_ - 1) == 'E')) ++pos_;
            else if (c < 0x80 || !QChar(c).isDigit()) break;
            else ++pos_;
        }
        const View num = Mid(start, pos_ - start);
        if (isFloat) {
            bool ok = false;
            double v = num.toString().toDouble(&ok);
            if (!ok) Fail(QStringLiteral("bad number %1").arg(num));
            return PropValue::Float(v);
        }
        // Plain decimal digits, the usual case, without a detour through the locale.
        auto at = [&](qsizetype k) { return At(start + k); };
        std::int64_t v = 0;
        bool ok = num.size() > 1 || (at(0) != '-' && at(0) != '+');
        const bool negative = at(0) == '-';
        for (qsizetype k = (at(0) == '-' || at(0) == '+') ? 1 : 0; ok && k < num.size(); ++k) {
            const char16_t c = at(k);
            if (c < '0' || c > '9') {
                ok = false;
                break;
            }
            const int digit = c - '0';
            if (v > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
                ok = negative && v == std::numeric_limits<std::int64_t>::max() / 10 &&
                     digit == 8 && k + 1 == num.size();
                v = std::numeric_limits<std::int64_t>::min();
                break;
            }
            v = v * 10 + digit;
        }
        if (!ok) {
            qint64 slow = num.toString().toLongLong(&ok);  // other digits still count as numbers
            if (!ok) Fail(QStringLiteral("bad number %1").arg(num));
            return PropValue::Int(slow);
        }
        return PropValue::Int(negative && v != std::numeric_limits<std::int64_t>::min() ? -v : v);
    }

    PropValue Value(int depth) {
        if (depth > stream_limits::kMaxDepth) Fail(QStringLiteral("values nested too deep"));
        QChar c = PeekChar();
        if (c.isNull()) Fail(QStringLiteral("value expected"));
        if (c == '\'' || c == '#') return PropValue::Str(StringValue());
        if (c == '[') {
            ++pos_;
            QStringList members;
            if (PeekChar() != ']') {
                for (;;) {
                    members << Ident();
                    if (PeekChar() == ',') { ++pos_; continue; }
                    break;
                }
            }
            Expect(']');
            return PropValue::Set(members);
        }
        if (c == '{') return PropValue::Binary(BinaryValue());
        if (c == '(') {
            ++pos_;
            std::vector<PropValue> items;
            while (PeekChar() != ')') {
                if (AtEnd()) Fail(QStringLiteral("')' expected"));
                items.push_back(Value(depth + 1));
            }
            ++pos_;
            return PropValue::List(std::move(items));
        }
        if (StartsNumber(c) || c.isDigit()) return NumberValue();
        if (c.isLetter() || c == '_') {
            const View id = IdentView();
            if (SameWord(id, "True")) return PropValue::Bool(true);
            if (SameWord(id, "False")) return PropValue::Bool(false);
            return PropValue::Ident(id.toString());
        }
        Fail(QStringLiteral("unexpected character '%1'").arg(c));
    }

private:
    const C* d_;  // the caller keeps the text alive
    qsizetype n_;
    QString source_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

template <class C>
class TextCursor final : public FormCursor {
public:
    using Reader = TextReader<C>;

    TextCursor(Reader& r, int depth) : r_(r), depth_(depth) {
        if (depth > stream_limits::kMaxDepth) r.Fail(QStringLiteral("components nested too deep"));
        if (!IsObjectKeyword(r.IdentView())) r.Fail(QStringLiteral("'object' expected"));
        objectLine_ = r.Line();
        QString first = r.Ident();
        if (r.PeekChar() == ':') {
            r.Skip();
            objectName_ = first;
            className_ = r.Ident();
        } else {
            className_ = first;
        }
        if (r.PeekChar() == '[') {  // creation index
            r.Skip();
            r.Ident();
            r.Expect(']');
        }
    }

    int Line() const override { return line_; }
    int ObjectLine() const override { return objectLine_; }

    bool Next() override {
        if (pending_) Value();
        if (ended_) return false;
        for (;;) {
            if (r_.AtEnd()) r_.Fail(QStringLiteral("'end' expected"));
            const typename Reader::Mark save = r_.Save();
            const auto word = r_.IdentView();
            if (SameWord(word, "end")) {
                ended_ = true;
                return false;
            }
            if (IsObjectKeyword(word)) {
                r_.Restore(save);
                if (int(children_.size()) >= stream_limits::kMaxItems) r_.Fail(QStringLiteral("too many components"));
                TextCursor child(r_, depth_ + 1);
                children_.push_back(Collect(child));
                continue;
            }
            name_ = word;
            line_ = r_.Line();
            r_.Expect('=');
            if (count_++ >= stream_limits::kMaxItems) r_.Fail(QStringLiteral("too many properties"));
            pending_ = true;
            return true;
        }
    }
    bool TakeInt(std::int64_t& v) override {
        if (!Fresh() || !Reader::StartsNumber(r_.PeekChar())) return false;
        PropValue n = r_.NumberValue();
        if (n.kind != PropValue::Kind::Int) {
            preread_ = std::move(n);
            return false;
        }
        v = n.i;
        pending_ = false;
        return true;
    }
    bool TakeBool(bool& v) override {
        typename Reader::View word;
        if (!Word(word)) return false;
        if (SameWord(word, "True") || SameWord(word, "False")) {
            v = SameWord(word, "True");
            pending_ = false;
            return true;
        }
        preread_ = PropValue::Ident(word.toString());
        return false;
    }
    bool TakeIdent(QAnyStringView& v) override {
        typename Reader::View word;
        if (!Word(word)) return false;
        if (SameWord(word, "True") || SameWord(word, "False")) {
            preread_ = PropValue::Bool(SameWord(word, "True"));
            return false;
        }
        v = word;
        pending_ = false;
        return true;
    }
    bool TakeString(QString& v) override {
        if (!Fresh()) return false;
        const QChar c = r_.PeekChar();
        if (c != '\'' && c != '#') return false;
        v = r_.StringValue();
        pending_ = false;
        return true;
    }
    bool TakeStringView(QAnyStringView& v) override {
        if (!Fresh() || r_.PeekChar() != '\'') return false;
        typename Reader::View plain;
        if (!r_.PlainString(plain)) return false;
        v = plain;
        pending_ = false;
        return true;
    }
    bool TakeBinary(QByteArrayView& v) override {
        if (!Fresh() || r_.PeekChar() != '{') return false;
        binary_ = r_.BinaryValue();
        v = binary_;
        pending_ = false;
        return true;
    }
    PropValue Value() override {
        if (!pending_) r_.Fail(QStringLiteral("no value to read"));
        pending_ = false;
        if (preread_) {
            PropValue v = std::move(*preread_);
            preread_.reset();
            return v;
        }
        return r_.Value(depth_ + 1);
    }
    void Finish() override {
        while (Next()) {}
    }

private:
    // A value not yet looked at.
    bool Fresh() const { return pending_ && !preread_; }
    bool Word(typename Reader::View& word) {
        if (!Fresh()) return false;
        const QChar c = r_.PeekChar();
        if (!c.isLetter() && c != '_') return false;
        word = r_.IdentView();
        return true;
    }

    Reader& r_;
    int depth_;
    int count_ = 0;
    int line_ = 0;
    int objectLine_ = 0;
    bool pending_ = false;
    bool ended_ = false;
    std::optional<PropValue> preread_;
    QByteArray binary_;
};

class DataCursor final : public ComponentCursor {
public:
    explicit DataCursor(const ComponentData& d) : d_(d) {
        className_ = d.className;
        objectName_ = d.name;
    }
    bool Next() override {
        if (next_ >= d_.props.size()) return false;
        at_ = &d_.props[next_++];
        name_ = at_->name;
        return true;
    }
    int Line() const override { return at_ ? at_->line : 0; }
    int ObjectLine() const override { return d_.line; }
    bool TakeInt(std::int64_t& v) override { return Is(PropValue::Kind::Int) && (v = at_->value.i, true); }
    bool TakeBool(bool& v) override { return Is(PropValue::Kind::Bool) && (v = at_->value.b, true); }
    bool TakeIdent(QAnyStringView& v) override { return Is(PropValue::Kind::Ident) && (v = at_->value.s, true); }
    bool TakeString(QString& v) override { return Is(PropValue::Kind::String) && (v = at_->value.s, true); }
    bool TakeStringView(QAnyStringView& v) override { return Is(PropValue::Kind::String) && (v = at_->value.s, true); }
    bool TakeBinary(QByteArrayView& v) override { return Is(PropValue::Kind::Binary) && (v = at_->value.bin, true); }
    PropValue Value() override { return at_ ? at_->value : PropValue(); }

private:
    bool Is(PropValue::Kind k) const { return at_ && at_->value.kind == k; }
    const ComponentData& d_;
    std::size_t next_ = 0;
    const PropEntry* at_ = nullptr;
};

}  // namespace

// ---- PropValue / ComponentData -------------------------------------------------------

bool PropValue::operator==(const PropValue& o) const {
    if (kind != o.kind) return false;
    switch (kind) {
    case Kind::Null: return true;
    case Kind::Int: return i == o.i;
    case Kind::Float: return f == o.f || (std::isnan(f) && std::isnan(o.f));
    case Kind::String: return s == o.s;
    case Kind::Ident: return s.compare(o.s, Qt::CaseInsensitive) == 0;
    case Kind::Bool: return b == o.b;
    case Kind::Binary: return bin == o.bin;
    case Kind::Set: {
        QStringList a = set, bb = o.set;
        for (auto& x : a) x = x.toLower();
        for (auto& x : bb) x = x.toLower();
        a.sort(); bb.sort();
        return a == bb;
    }
    case Kind::List: return list == o.list;
    }
    return false;
}

QString PropValue::Describe() const {
    QString out;
    WriteValue(out, *this, 0);
    if (out.size() > 60) out = out.left(57) + QStringLiteral("...");
    return out;
}

const PropEntry* ComponentData::Find(const QString& path) const {
    for (const PropEntry& p : props)
        if (p.name.compare(path, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

bool ComponentData::operator==(const ComponentData& o) const {
    if (className != o.className || name != o.name || props.size() != o.props.size() || children != o.children)
        return false;
    for (size_t k = 0; k < props.size(); ++k)
        if (props[k].name != o.props[k].name || props[k].value != o.props[k].value) return false;
    return true;
}


// ---- public entry points ----------------------------------------------------------------

QByteArray WriteComponentBinary(const ComponentData& c) {
    BinWriter w;
    w.Raw(QByteArrayLiteral("TPF0"));
    w.Object(c);
    return w.out;
}

namespace {
void ExpectSignature(BinReader& r) {
    if (QByteArrayView(r.Take(4), 4) != QByteArrayView("TPF0", 4)) {
        r.pos = 0;
        r.Fail(QStringLiteral("signature TPF0 expected"));
    }
}
}

ComponentData ReadComponentBinary(const QByteArray& data, bool allowTrailing, int* consumed) {
    BinReader r(data.constData(), data.size());
    ExpectSignature(r);
    BinCursor cursor(r, 0);
    ComponentData c = Collect(cursor);
    if (!allowTrailing && r.Remaining() != 0) r.Fail(QStringLiteral("%1 bytes after the component").arg(r.Remaining()));
    if (consumed) *consumed = int(r.pos);
    return c;
}

void VisitComponentBinary(QByteArrayView data, const ComponentVisitor& visit) {
    BinReader r(data.data(), data.size());
    ExpectSignature(r);
    BinCursor cursor(r, 0);
    visit(cursor);
    cursor.Finish();
    if (r.Remaining() != 0) r.Fail(QStringLiteral("%1 bytes after the component").arg(r.Remaining()));
}

QByteArray WriteComponentText(const ComponentData& c) {
    QString out;
    WriteObject(out, c, 0);
    return out.toUtf8();
}

namespace {
template <class C>
ComponentData ReadText(const C* text, qsizetype size, const QString& sourceName) {
    TextReader<C> r(text, size, sourceName);
    TextCursor<C> cursor(r, 0);
    ComponentData c = Collect(cursor);
    if (!r.AtEnd()) r.Fail(QStringLiteral("text after the last 'end'"));
    return c;
}

template <class C>
void VisitText(const C* text, qsizetype size, const QString& sourceName, const ComponentVisitor& visit) {
    TextReader<C> r(text, size, sourceName);
    TextCursor<C> cursor(r, 0);
    visit(cursor);
    cursor.Finish();
    if (!r.AtEnd()) r.Fail(QStringLiteral("text after the last 'end'"));
}
}  // namespace

ComponentData ReadComponentText(const QByteArray& text, const QString& sourceName) {
    // UTF-8 that is plain ASCII is read as it is, without a conversion.
    if (gbk::isAscii(text)) return ReadText(text.constData(), text.size(), sourceName);
    const QString wide = QString::fromUtf8(text);
    return ReadText(reinterpret_cast<const char16_t*>(wide.constData()), wide.size(), sourceName);
}

void VisitComponentText(QAnyStringView text, const QString& sourceName, const ComponentVisitor& visit) {
    text.visit([&](auto v) {
        using V = decltype(v);
        if constexpr (std::is_same_v<V, QLatin1StringView>) {
            VisitText(v.data(), v.size(), sourceName, visit);
        } else if constexpr (std::is_same_v<V, QStringView>) {
            VisitText(v.utf16(), v.size(), sourceName, visit);
        } else {
            const QString wide = v.toString();
            VisitText(reinterpret_cast<const char16_t*>(wide.constData()), wide.size(), sourceName, visit);
        }
    });
}

void VisitComponentData(const ComponentData& data, const ComponentVisitor& visit) {
    DataCursor cursor(data);
    visit(cursor);
}

QByteArray ObjectBinaryToText(const QByteArray& binary) { return WriteComponentText(ReadComponentBinary(binary)); }
QByteArray ObjectTextToBinary(const QByteArray& text) { return WriteComponentBinary(ReadComponentText(text)); }
