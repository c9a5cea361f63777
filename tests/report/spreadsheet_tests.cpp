// Spreadsheets the office made, read back through the program's own office.
#include "office_env.h"
#include "sheet_files.h"

#include "spreadsheet.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString& WorkedExample(const char* format) {
    static std::map<std::string, QString> made;
    QString& path = made[format];
    if (path.isEmpty()) path = sheetfiles::Convert(QStringLiteral("三班%1").arg(format), sheetfiles::WorkedExampleCsv(), format);
    return path;
}

// No office is left listening once a read is over.
void ExpectNoOfficeLeft() {
    TWordApplication app;
    EXPECT_FALSE(app.Attach());
}

}  // namespace

TEST(Spreadsheet, XlsxAndXlsGiveTheUsedRangeOfTheFirstSheet) {
    for (const char* format : {"xlsx", "xls"}) {
        const QString path = WorkedExample(format);
        ASSERT_FALSE(path.isEmpty()) << format;
        const SheetCells sheet = ReadFirstSheet(path);
        EXPECT_EQ(sheet.firstRow, 1) << format;
        ASSERT_EQ(sheet.rows.size(), 7) << format;
        EXPECT_EQ(sheet.rows[0], (QVariantList{QStringLiteral("学号"), QStringLiteral("姓名"), QStringLiteral("成绩")}));
        EXPECT_EQ(sheet.rows[1][0].toDouble(), 2006010101.0) << format;
        EXPECT_EQ(sheet.rows[2][1].toString(), QStringLiteral("李四")) << format;
        EXPECT_EQ(sheet.rows[2][2].typeId(), QMetaType::Double) << format;
        EXPECT_EQ(sheet.rows[2][2].toDouble(), 89.5) << format;
        EXPECT_EQ(sheet.rows[5][2].toDouble(), 59.4) << format;
        ExpectNoOfficeLeft();
    }
}

TEST(Spreadsheet, AHeaderlessColumnWithTextAndEmptyCells) {
    // Starting in row 3 of column B: the rows keep their sheet numbers.
    const QString path = sheetfiles::Convert("一列", ",\n,\n,88\n,缺考\n,\n,76.5\n", "ods");
    ASSERT_FALSE(path.isEmpty());
    const SheetCells sheet = ReadFirstSheet(path);
    EXPECT_EQ(sheet.firstRow, 3);
    ASSERT_EQ(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.rows[0], QVariantList{88.0});
    EXPECT_EQ(sheet.rows[1], QVariantList{QStringLiteral("缺考")});
    EXPECT_EQ(sheet.rows[2], QVariantList{QString()});
    EXPECT_EQ(sheet.rows[3], QVariantList{76.5});
}

TEST(Spreadsheet, DamagedFileAndMissingOfficeAreTold) {
    QFile bad(testoffice::Path("damaged.xlsx"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("PK\x03\x04 this zip ends here", 26));
    bad.close();
    try {
        ReadFirstSheet(bad.fileName());
        ADD_FAILURE() << "a damaged file was read";
    } catch (const ESheetError& e) {
        EXPECT_TRUE(e.reason() == ESheetError::Reason::Unreadable || e.reason() == ESheetError::Reason::NotASpreadsheet)
            << e.what();
    }
    ExpectNoOfficeLeft();

    OfficeSettings& s = TWordApplication::Settings();
    const OfficeSettings saved = s;
    s.program = testoffice::Path("no-office-here/soffice");
    s.pipeName += QStringLiteral("_none");
    try {
        ReadFirstSheet(WorkedExample("xlsx"));
        ADD_FAILURE() << "read without an office";
    } catch (const ESheetError& e) {
        EXPECT_EQ(e.reason(), ESheetError::Reason::NoOffice) << e.what();
    }
    s = saved;
}
