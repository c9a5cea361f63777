#include "font_preparation.h"

#include <QFontDatabase>
#include <QStringList>
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

