// Spreadsheets the office made, read back through the program's own office.
#include "office_env.h"
#include "sheet_files.h"

#include "spreadsheet.h"

#include <QFile>
#include <QFileInfo>
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
        // Damaged, not "some other kind of document": the teacher is told the file may be broken.
        EXPECT_EQ(e.reason(), ESheetError::Reason::Unreadable) << e.what();
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

// The limit is on the cells of the used range, empty ones too: a class list
// of a few hundred cells is far below it, a sheet beyond it is not read.
TEST(Spreadsheet, AFirstSheetOverTheCellLimitIsNotRead) {
    const QString most = sheetfiles::Convert("最多", "1\n" + QString(299998, QChar('\n')) + "2\n", "xlsx");
    ASSERT_FALSE(most.isEmpty());
    const SheetCells sheet = ReadFirstSheet(most);
    ASSERT_EQ(sheet.rows.size(), 300000);
    EXPECT_EQ(sheet.rows.front(), QVariantList{1.0});
    EXPECT_EQ(sheet.rows.back(), QVariantList{2.0});

    const QString over = sheetfiles::Convert("超过", "1\n" + QString(299999, QChar('\n')) + "2\n", "xlsx");
    ASSERT_FALSE(over.isEmpty());
    try {
        ReadFirstSheet(over);
        ADD_FAILURE() << "a sheet of 300001 cells was read";
    } catch (const ESheetError& e) {
        EXPECT_EQ(e.reason(), ESheetError::Reason::TooLarge) << e.what();
        EXPECT_EQ(e.Message(), QStringLiteral("The first sheet uses 300001 rows and 1 columns"));
    }
    ExpectNoOfficeLeft();
}

// A document of the office's word processor is no spreadsheet, whatever its name says.
TEST(Spreadsheet, AWordProcessorDocumentIsNoSpreadsheet) {
    const QString text = sheetfiles::ConvertText("文档", QStringLiteral("成绩\n95\n"), "txt", "odt");
    ASSERT_FALSE(text.isEmpty());
    const QString named = QFileInfo(text).path() + QStringLiteral("/文档.xlsx");
    ASSERT_TRUE(QFile::copy(text, named));
    try {
        ReadFirstSheet(named);
        ADD_FAILURE() << "a text document was read as a sheet";
    } catch (const ESheetError& e) {
        EXPECT_EQ(e.reason(), ESheetError::Reason::NotASpreadsheet) << e.what();
    }
    ExpectNoOfficeLeft();
}

// A workbook with no sheet at all (written by hand: the office never saves
// one) opens with the one empty sheet the office gives it, as an empty
// workbook the office saved does: nothing to read, and no error.
TEST(Spreadsheet, AWorkbookWithoutSheetsOrCellsReadsAsEmpty) {
    const QString sheetless = testoffice::Path("无工作表.ods");
    testoffice::WriteFile(sheetless, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                                     "office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
                                     "<office:body><office:spreadsheet/></office:body></office:document>\n");
    const QString empty = sheetfiles::Convert("空表", QString(), "xlsx");
    ASSERT_FALSE(empty.isEmpty());
    for (const QString& path : {sheetless, empty}) {
        const SheetCells sheet = ReadFirstSheet(path);
        EXPECT_EQ(sheet.firstRow, 1) << path.toStdString();
        for (const QVariantList& row : sheet.rows)
            for (const QVariant& cell : row) EXPECT_EQ(cell, QVariant(QString())) << path.toStdString();
        EXPECT_LE(sheet.rows.size(), 1) << path.toStdString();
    }
    ExpectNoOfficeLeft();
}
