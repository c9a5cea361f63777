#include "component_stream.h"

#include "exceptions.h"
#include "gbk.h"

#include <cmath>
#include <cstring>
#include <limits>

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
    explicit BinReader(const QByteArray& d) : data_(d) {}
    int pos = 0;

    int Remaining() const { return int(data_.size()) - pos; }
    [[noreturn]] void Fail(const QString& what) const {
        throw EStreamError(QStringLiteral("Invalid component stream at byte %1: %2").arg(pos).arg(what));
    }
    void Need(std::int64_t n) const {
        if (n < 0 || n > Remaining()) Fail(QStringLiteral("needs %1 more bytes, %2 left").arg(n).arg(Remaining()));
    }
    unsigned char Byte() { Need(1); return static_cast<unsigned char>(data_[pos++]); }
    unsigned char Peek() const { Need(1); return static_cast<unsigned char>(data_[pos]); }
    std::int64_t Int(int bytes) {
        Need(bytes);
        std::uint64_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= std::uint64_t(static_cast<unsigned char>(data_[pos + k])) << (8 * k);
        pos += bytes;
        if (bytes < 8 && (v >> (8 * bytes - 1)) & 1) v |= ~std::uint64_t(0) << (8 * bytes);  // sign-extend
        return std::int64_t(v);
    }
    QByteArray Raw(std::int64_t n) {
        Need(n);
        QByteArray r = data_.mid(pos, int(n));
        pos += int(n);
        return r;
    }
    QByteArray Short() { int n = Byte(); return Raw(n); }
    // Names are nearly always ASCII: decode them in place.
    QString ShortName() {
        const int n = Byte();
        Need(n);
        const char* p = data_.constData() + pos;
        bool ascii = true;
        for (int k = 0; k < n && ascii; ++k) ascii = uchar(p[k]) < 0x80;
        if (!ascii) return gbk::decode(Raw(n));
        pos += n;
        return QString::fromLatin1(p, n);
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
            QByteArray b = Raw(10);
            long double x = 0;
            unsigned char bytes[16] = {};
            std::memcpy(bytes, b.constData(), 10);
            std::memcpy(&x, bytes, sizeof x < 16 ? sizeof x : 16);
            return PropValue::Float(double(x));
        }
        case vaSingle: {
            QByteArray b = Raw(4);
            float x;
            std::memcpy(&x, b.constData(), 4);
            return PropValue::Float(x);
        }
        case vaDouble: case vaDate: {
            QByteArray b = Raw(8);
            double x;
            std::memcpy(&x, b.constData(), 8);
            return PropValue::Float(x);
        }
        case vaCurrency: return PropValue::Float(double(Int(8)) / 10000.0);
        case vaString: return PropValue::Str(ShortName());
        case vaLString: return PropValue::Str(gbk::decode(Raw(Length())));
        case vaUTF8String: return PropValue::Str(QString::fromUtf8(Raw(Length())));
        case vaWString: {
            std::int64_t n = Int(4);
            if (n < 0 || n > stream_limits::kMaxBinary / 2) Fail(QStringLiteral("bad wide string length %1").arg(n));
            QByteArray b = Raw(n * 2);
            return PropValue::Str(QString(reinterpret_cast<const QChar*>(b.constData()), int(n)));
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

    ComponentData Object(int depth) {
        if (depth > stream_limits::kMaxDepth) Fail(QStringLiteral("components nested too deep"));
        ComponentData c;
        unsigned char first = Peek();
        if ((first & 0xF0) == 0xF0) {  // filer flags of an inherited or inline child
            Byte();
            if (first & 0x02) Value(depth + 1);  // creation index
        }
        c.className = ShortName();
        c.name = ShortName();
        if (c.className.isEmpty()) Fail(QStringLiteral("empty class name"));
        c.props.reserve(16);
        while (Peek() != 0) {
            if (int(c.props.size()) >= stream_limits::kMaxItems) Fail(QStringLiteral("too many properties"));
            PropEntry e;
            e.name = ShortName();
            e.value = Value(depth + 1);
            c.props.push_back(std::move(e));
        }
        Byte();
        while (Peek() != 0) {
            if (int(c.children.size()) >= stream_limits::kMaxItems) Fail(QStringLiteral("too many components"));
            c.children.push_back(Object(depth + 1));
        }
        Byte();
        return c;
    }

private:
    const QByteArray& data_;
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

class TextReader {
public:
    TextReader(const QByteArray& text, const QString& source)
        : s_(QString::fromUtf8(text)), source_(source.isEmpty() ? QStringLiteral("<text>") : source) {}

    [[noreturn]] void Fail(const QString& what) const {
        throw EStreamError(QStringLiteral("%1(%2): %3").arg(source_).arg(line_).arg(what));
    }

    void SkipBlank() {
        while (pos_ < s_.size()) {
            QChar c = s_[pos_];
            if (c == '\n') { ++line_; ++pos_; }
            else if (c.unicode() <= 32) ++pos_;
            else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else break;
        }
    }
    bool AtEnd() { SkipBlank(); return pos_ >= s_.size(); }
    QChar PeekChar() { SkipBlank(); return pos_ < s_.size() ? s_[pos_] : QChar(); }
    void Expect(QChar c) {
        if (PeekChar() != c) Fail(QStringLiteral("'%1' expected").arg(c));
        ++pos_;
    }
    static bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '.'; }
    QString Ident() {
        SkipBlank();
        int start = pos_;
        while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
        if (start == pos_) Fail(QStringLiteral("identifier expected"));
        return s_.mid(start, pos_ - start);
    }
    int Line() const { return line_; }

    // A string of quoted parts and #N codes, possibly joined by '+' across lines.
    // #N codes below 256 are bytes of 8-bit GBK text; others are UTF-16 units.
    QString StringValue() {
        QString result;
        QByteArray pendingBytes;
        auto flush = [&] { if (!pendingBytes.isEmpty()) { result += gbk::decode(pendingBytes); pendingBytes.clear(); } };
        PeekChar();
        for (;;) {
            QChar c = pos_ < s_.size() ? s_[pos_] : QChar();
            if (c == '\'') {
                flush();
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n') Fail(QStringLiteral("unterminated string"));
                    if (s_[pos_] == '\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') { result += '\''; pos_ += 2; continue; }
                        ++pos_;
                        break;
                    }
                    result += s_[pos_++];
                }
            } else if (c == '#') {
                ++pos_;
                int start = pos_;
                while (pos_ < s_.size() && s_[pos_].isDigit()) ++pos_;
                bool ok = false;
                uint code = s_.mid(start, pos_ - start).toUInt(&ok);
                if (!ok || code > 0xFFFF) Fail(QStringLiteral("bad character code"));
                if (code < 256 && code >= 128) pendingBytes.append(char(code));
                else { flush(); result += QChar(char16_t(code)); }
            } else {
                break;
            }
            // Parts join when adjacent, or through a '+' that may end the line.
            int save = pos_, saveLine = line_;
            if (PeekChar() == '+') {
                ++pos_;
                QChar next = PeekChar();
                if (next != '\'' && next != '#') Fail(QStringLiteral("string expected after '+'"));
            } else {
                pos_ = save;
                line_ = saveLine;
            }
        }
        flush();
        return result;
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
        if (c == '{') {
            // Binary values can be large (skins, images): decode in one tight pass.
            ++pos_;
            const int close = s_.indexOf('}', pos_);
            if (close < 0) Fail(QStringLiteral("'}' expected"));
            QByteArray out((close - pos_) / 2 + 1, Qt::Uninitialized);
            char* o = out.data();
            const QChar* d = s_.constData();
            int high = -1;
            for (; pos_ < close; ++pos_) {
                const char16_t h = d[pos_].unicode();
                int v;
                if (h >= '0' && h <= '9') v = h - '0';
                else if (h >= 'A' && h <= 'F') v = h - 'A' + 10;
                else if (h >= 'a' && h <= 'f') v = h - 'a' + 10;
                else if (h == '\n') { ++line_; continue; }
                else if (h <= 32) continue;
                else Fail(QStringLiteral("bad hexadecimal digit"));
                if (high < 0) high = v;
                else { *o++ = char(high << 4 | v); high = -1; }
            }
            ++pos_;
            if (high >= 0) Fail(QStringLiteral("odd number of hexadecimal digits"));
            out.truncate(int(o - out.data()));
            return PropValue::Binary(out);
        }
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
        if (c == '-' || c == '+' || c.isDigit() || c == '$') {
            int start = pos_;
            if (c == '$') {
                ++pos_;
                while (pos_ < s_.size() && s_[pos_].unicode() < 128 && isxdigit(s_[pos_].unicode())) ++pos_;
                bool ok = false;
                qint64 v = s_.mid(start + 1, pos_ - start - 1).toLongLong(&ok, 16);
                if (!ok) Fail(QStringLiteral("bad hexadecimal number"));
                return PropValue::Int(v);
            }
            ++pos_;
            bool isFloat = false;
            while (pos_ < s_.size()) {
                QChar d = s_[pos_];
                if (d.isDigit()) ++pos_;
                else if (d == '.' || d == 'e' || d == 'E') { isFloat = true; ++pos_; }
                else if ((d == '-' || d == '+') && (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E')) ++pos_;
                else break;
            }
            QString num = s_.mid(start, pos_ - start);
            bool ok = false;
            if (isFloat) {
                double v = num.toDouble(&ok);
                if (!ok) Fail(QStringLiteral("bad number %1").arg(num));
                return PropValue::Float(v);
            }
            qint64 v = num.toLongLong(&ok);
            if (!ok) Fail(QStringLiteral("bad number %1").arg(num));
            return PropValue::Int(v);
        }
        if (c.isLetter() || c == '_') {
            QString id = Ident();
            if (id.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return PropValue::Bool(true);
            if (id.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return PropValue::Bool(false);
            return PropValue::Ident(id);
        }
        Fail(QStringLiteral("unexpected character '%1'").arg(c));
    }

    ComponentData Object(int depth) {
        if (depth > stream_limits::kMaxDepth) Fail(QStringLiteral("components nested too deep"));
        ComponentData c;
        QString kw = Ident();
        if (kw.compare(QLatin1String("object"), Qt::CaseInsensitive) != 0 &&
            kw.compare(QLatin1String("inherited"), Qt::CaseInsensitive) != 0 &&
            kw.compare(QLatin1String("inline"), Qt::CaseInsensitive) != 0)
            Fail(QStringLiteral("'object' expected"));
        c.line = line_;
        QString first = Ident();
        if (PeekChar() == ':') {
            ++pos_;
            c.name = first;
            c.className = Ident();
        } else {
            c.className = first;
        }
        if (PeekChar() == '[') {  // creation index
            ++pos_;
            Ident();
            Expect(']');
        }
        for (;;) {
            if (AtEnd()) Fail(QStringLiteral("'end' expected"));
            int save = pos_, saveLine = line_;
            QString word = Ident();
            if (word.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0) break;
            if (word.compare(QLatin1String("object"), Qt::CaseInsensitive) == 0 ||
                word.compare(QLatin1String("inherited"), Qt::CaseInsensitive) == 0 ||
                word.compare(QLatin1String("inline"), Qt::CaseInsensitive) == 0) {
                pos_ = save;
                line_ = saveLine;
                if (int(c.children.size()) >= stream_limits::kMaxItems) Fail(QStringLiteral("too many components"));
                c.children.push_back(Object(depth + 1));
                continue;
            }
            PropEntry e;
            e.name = word;
            e.line = line_;
            Expect('=');
            e.value = Value(depth + 1);
            if (int(c.props.size()) >= stream_limits::kMaxItems) Fail(QStringLiteral("too many properties"));
            c.props.push_back(std::move(e));
        }
        return c;
    }

private:
    QString s_;
    QString source_;
    int pos_ = 0;
    int line_ = 1;
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

ComponentData ReadComponentBinary(const QByteArray& data, bool allowTrailing, int* consumed) {
    BinReader r(data);
    QByteArray sig = r.Raw(4);
    if (sig != QByteArrayLiteral("TPF0")) r.Fail(QStringLiteral("signature TPF0 expected"));
    ComponentData c = r.Object(0);
    if (!allowTrailing && r.Remaining() != 0) r.Fail(QStringLiteral("%1 bytes after the component").arg(r.Remaining()));
    if (consumed) *consumed = r.pos;
    return c;
}

QByteArray WriteComponentText(const ComponentData& c) {
    QString out;
    WriteObject(out, c, 0);
    return out.toUtf8();
}

ComponentData ReadComponentText(const QByteArray& text, const QString& sourceName) {
    TextReader r(text, sourceName);
    ComponentData c = r.Object(0);
    if (!r.AtEnd()) r.Fail(QStringLiteral("text after the last 'end'"));
    return c;
}

QByteArray ObjectBinaryToText(const QByteArray& binary) { return WriteComponentText(ReadComponentBinary(binary)); }
QByteArray ObjectTextToBinary(const QByteArray& text) { return WriteComponentBinary(ReadComponentText(text)); }
