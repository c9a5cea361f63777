#include "font_families.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <fontconfig/fontconfig.h>

namespace {
// Any of a font's names, its other and localised ones too, blanks and case
// ignored: every name the toolkit lists comes from these.
bool FontconfigKnows(const QString& family) {
    const QByteArray name = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, wanted);
    const bool known = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(wanted);
    FcPatternDestroy(pattern);
    return known;
}

// Names the toolkit's list holds that are no font's: a family found at two
// foundries is listed as "Name [Foundry]", and the toolkit adds the three
// generic families of its own.
bool ToolkitsOwnName(const QString& family) {
    static const QStringList generic{QStringLiteral("Serif"), QStringLiteral("Sans Serif"), QStringLiteral("Monospace")};
    return family.contains(QLatin1Char('[')) || generic.contains(family, Qt::CaseInsensitive);
}
}  // namespace

bool FamilyInstalled(const QString& family) {
    if (!ToolkitsOwnName(family) && !FontconfigKnows(family)) return false;
    // QFontDatabase::hasFamily() would put the name through fontconfig's
    // substitution rules, several milliseconds a name; the list is plain.
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(),
                       [&](const QString& f) { return f.compare(family, Qt::CaseInsensitive) == 0; });
}
