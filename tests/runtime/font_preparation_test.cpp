#include "font_families.h"
#include "font_preparation.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

// Start-up may end before the toolkit is ready (no display, a bad option):
// the preparation must then end without waiting for it.
TEST(FontPreparation, EndsWhenTheApplicationNeverCame) {
    for (int k = 0; k < 20; ++k) FontPreparation fonts;
}

TEST(FontPreparation, LeavesTheFontListMade) {
    FontPreparation fonts;
    fonts.ApplicationReady();
    fonts.Wait();
    fonts.Wait();  // twice is harmless
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}


// Which described fonts are kept is answered by fontconfig when it does not
// know the name; the answer must be the toolkit's list's for every name
// fontconfig knows a font by (first, other and localised names), in other
// cases and spacing, with the list's foundry marks, and for names only near
// one.
TEST(FamilyInstalled, AnswersAsTheToolkitsListWould) {
    const QStringList listed = QFontDatabase::families();
    auto inList = [&](const QString& name) {
        return std::any_of(listed.begin(), listed.end(),
                           [&](const QString& f) { return f.compare(name, Qt::CaseInsensitive) == 0; });
    };
    QStringList names = listed;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, all, wanted);
    ASSERT_TRUE(fonts && fonts->nfont > 0);
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &name) == FcResultMatch; ++k)
            names << QString::fromUtf8(reinterpret_cast<const char*>(name));
    }
    FcFontSetDestroy(fonts);
    FcObjectSetDestroy(wanted);
    FcPatternDestroy(all);
    names.removeDuplicates();
    for (const QString& n : QStringList(names)) names << n.toUpper() << QString(n).remove(' ') << n + "x";
    names << "MS Sans Serif" << "Verdana" << QString::fromUtf8("华文新魏") << "sans-serif" << "Monospace" << "";
    int kept = 0, dropped = 0;
    for (const QString& name : names) {
        EXPECT_EQ(FamilyInstalled(name), inList(name)) << name.toStdString();
        (inList(name) ? kept : dropped)++;
    }
    EXPECT_GT(kept, 0);
    EXPECT_GT(dropped, 0);
}
