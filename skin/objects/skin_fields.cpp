#include "skin_fields.h"

#include "exceptions.h"
#include "skin_tree.h"

#include <algorithm>
#include <cstring>

// ---- names ----------------------------------------------------------------------

namespace {

// Eight bytes at a time: property paths are a dozen characters or so.
std::uint64_t HashBytes(const char* p, std::size_t n) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    auto mix = [&h](std::uint64_t w) {
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    };
    if (n >= 8) {
        std::size_t k = 0;
        for (; k + 8 <= n; k += 8) {
            std::uint64_t w;
            std::memcpy(&w, p + k, 8);
            mix(w);
        }
        if (k < n) {  // the last eight bytes, overlapping
            std::uint64_t w;
            std::memcpy(&w, p + n - 8, 8);
            mix(w);
        }
    } else {
        std::uint64_t w = 0;
        for (std::size_t k = 0; k < n; ++k) w |= std::uint64_t(std::uint8_t(p[k])) << (8 * k);
        mix(w);
    }
    return h;
}

// Where a name sits, from its length and three of its characters, alike in
// either encoding; the full hash of each encoding then tells names apart.
template <class C>
std::uint32_t PlaceChars(const C* d, qsizetype n) {
    if (n == 0) return 0;
    auto code = [&](qsizetype k) { return std::uint32_t(std::make_unsigned_t<C>(d[k])); };
    std::uint32_t h = std::uint32_t(n) * 0x9E3779B1u ^ code(0) * 0x85EBCA77u ^ code(n / 2) * 0xC2B2AE3Du ^ code(n - 1) * 0x27D4EB2Fu;
    return h ^ (h >> 16);
}

}  // namespace

SkinNameIndex::Slot::Slot(const QString& n, int v)
    : name(n), inLatin1(std::all_of(n.cbegin(), n.cend(), [](QChar c) { return c.unicode() < 0x100; })),
      place(PlaceChars(n.utf16(), n.size())),
      hash16(HashBytes(reinterpret_cast<const char*>(n.constData()), std::size_t(n.size()) * 2)), value(v) {
    if (inLatin1) latin1 = n.toLatin1();
    hash8 = HashBytes(latin1.constData(), std::size_t(latin1.size()));
}

bool SkinNameIndex::Slot::Matches(QAnyStringView s, std::uint64_t h16, std::uint64_t h8) const {
    return s.visit([&](auto v) {
        using V = decltype(v);
        if constexpr (std::is_same_v<V, QStringView>)
            return hash16 == h16 && v.size() == name.size() && std::memcmp(v.data(), name.constData(), std::size_t(v.size()) * 2) == 0;
        else if constexpr (std::is_same_v<V, QLatin1StringView>)
            return inLatin1 && hash8 == h8 && v.size() == latin1.size() &&
                   std::memcmp(v.data(), latin1.constData(), std::size_t(v.size())) == 0;
        else
            return name == v.toString();
    });
}

void SkinNameIndex::Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.resize(std::max<std::size_t>(16, old.size() * 2));
    count_ = 0;
    for (Slot& s : old)
        if (s.value >= 0) Add(s.name, s.value);
}

void SkinNameIndex::Add(const QString& name, int value) {
    if (std::size_t(count_ + 1) * 2 > slots_.size()) Grow();
    const std::size_t mask = slots_.size() - 1;
    Slot fresh(name, value);
    for (std::size_t i = fresh.place & mask;; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.value < 0) {
            s = std::move(fresh);
            ++count_;
            return;
        }
        if (s.name == name) {
            s.value = value;
            return;
        }
    }
}

int SkinNameIndex::Find(QAnyStringView name) const {
    if (slots_.empty()) return -1;
    std::uint32_t place = 0;
    std::uint64_t h16 = 0, h8 = 0;
    name.visit([&](auto v) {
        using V = decltype(v);
        if constexpr (std::is_same_v<V, QStringView>) {
            place = PlaceChars(v.utf16(), v.size());
            h16 = HashBytes(reinterpret_cast<const char*>(v.data()), std::size_t(v.size()) * 2);
        } else if constexpr (std::is_same_v<V, QLatin1StringView>) {
            place = PlaceChars(v.data(), v.size());
            h8 = HashBytes(v.data(), std::size_t(v.size()));
        } else {
            const QString u = v.toString();
            place = PlaceChars(u.utf16(), u.size());
        }
    });
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = place & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.value < 0) return -1;
        if (s.place == place && s.Matches(name, h16, h8)) return s.value;
    }
}

int ClampCoord(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, -skin_limits::kMaxCoord, skin_limits::kMaxCoord));
}

// ---- colours, character sets, styles ----------------------------------------------

QString SkinSharedString(QAnyStringView text) {
    // Per thread and bounded, whatever the streams hold.
    constexpr int kMaxShared = 4096;
    thread_local SkinNameIndex known;
    thread_local std::vector<QString> strings;
    if (const int k = known.Find(text); k >= 0) return strings[std::size_t(k)];
    QString s = text.toString();
    if (known.Count() < kMaxShared && s.size() <= 255) {
        known.Add(s, int(strings.size()));
        strings.push_back(s);
    }
    return s;
}

TColor SkinColorFromIdent(QAnyStringView id, const QString& property) {
    // Only spellings the colour table itself uses are kept, so the cache
    // stays as small as that table whatever a stream holds.
    thread_local SkinNameIndex known;
    thread_local std::vector<TColor> values;
    if (const int k = known.Find(id); k >= 0) return values[std::size_t(k)];
    const QString name = id.toString();
    const TColor c = prop::ToColor(PropValue::Ident(name), property);
    if (ColorToIdent(c) == name) {
        known.Add(name, int(values.size()));
        values.push_back(c);
    }
    return c;
}

namespace {

struct CharsetName { int value; const char* name; };
constexpr CharsetName kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

const SkinNameIndex& CharsetIndex() {
    static const SkinNameIndex index = [] {
        SkinNameIndex i;
        for (const auto& n : kCharsets) i.Add(QString::fromLatin1(n.name), n.value);
        return i;
    }();
    return index;
}

}  // namespace

PropValue SkinCharsetValue(int c) {
    for (const auto& n : kCharsets)
        if (n.value == c) return PropValue::Ident(QString::fromLatin1(n.name));
    return PropValue::Int(c);
}

int SkinCharsetFromValue(const PropValue& v, const QString& prop) {
    if (v.kind == PropValue::Kind::Int) return int(v.i & 0xFF);
    const QString id = prop::ToIdent(v, prop);
    for (const auto& n : kCharsets)
        if (id.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) return n.value;
    ThrowBadEnum(id, prop);
}

int SkinCharsetFromIdent(QAnyStringView id, const QString& prop) {
    if (const int c = CharsetIndex().Find(id); c >= 0) return c;
    return SkinCharsetFromValue(PropValue::Ident(id.toString()), prop);
}

const EnumNames<TFontStyle>& SkinFontStyleNames() {
    static const EnumNames<TFontStyle> names{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return names;
}

// ---- the table ----------------------------------------------------------------------

bool SkinClassTable::Includes(const SkinClassTable& t) const {
    for (const SkinClassTable* at = this; at; at = at->parent_)
        if (at == &t) return true;
    return false;
}

void SkinClassTable::Finish() {
    if (parent_) {
        readers_ = parent_->readers_;
        colors_ = parent_->colors_;
        fonts_ = parent_->fonts_;
        links_ = parent_->links_;
    }
    for (Reader& r : pendingReaders_) {
        r.info = properties_.Find(r.path);
        // A class that declares an ancestor's name again takes its place.
        auto same = std::find_if(readers_.begin(), readers_.end(), [&](const Reader& q) { return q.path == r.path; });
        if (same != readers_.end()) *same = std::move(r);
        else readers_.push_back(std::move(r));
    }
    pendingReaders_.clear();
    for (std::size_t k = 0; k < readers_.size(); ++k) byPath_.Add(readers_[k].path, int(k));
    for (const SkinField& f : own_) {
        if (f.kind == SkinField::Kind::Color) colors_.push_back(&f);
        if (f.kind == SkinField::Kind::Font) fonts_.push_back(&f);
        if (f.kind == SkinField::Kind::Link) links_.push_back(&f);
    }
}

int SkinClassTable::ReadProperty(TSkSkinObject& o, ComponentCursor& c, const QString& className, int hint) const {
    TComponent& target = o;
    constexpr int kLookAhead = 6;
    const QAnyStringView name = c.Name();
    int k = -1;
    for (int j = hint + 1; j <= hint + kLookAhead && j < int(readers_.size()); ++j)
        if (readers_[std::size_t(j)].Is(name)) {
            k = j;
            break;
        }
    if (k < 0) k = byPath_.Find(name);
    if (k >= 0) {
        const Reader& r = readers_[std::size_t(k)];
        if (!r.take || !r.take(o, c)) r.info->set(target, c.Value());
        return k;
    }
    // Names spelt another way, and the component's own properties.
    const QString path = name.toString();
    const PropertyInfo* info = properties_.Find(path);
    if (!info || !info->set || info->type != PropertyInfo::Type::Value)
        throw EReadError(QStringLiteral("Property %1 does not exist in %2").arg(path, className));
    info->set(target, c.Value());
    return hint;
}
