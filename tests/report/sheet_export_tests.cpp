// Workbooks the program writes through its office, read back through the
// office as a spreadsheet program would read them.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"
#include "atomic_file.h"
#include "sheet_export.h"
#include "spreadsheet.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <atomic>

namespace {

SheetTable Roster() {
    SheetTable t;
    t.rows = {{QStringLiteral("学号"), QStringLiteral("姓名"), QStringLiteral("成绩")},
              {QStringLiteral("001"), QStringLiteral("张三"), 95.0},
              {QStringLiteral("002"), QStringLiteral("=1+1"), 59.5},
              {QStringLiteral("003"), QStringLiteral("李四"), QStringLiteral("缺考")}};
    return t;
}

}  // namespace

TEST(SheetExport, AWorkbookHoldsNumbersAsNumbersAndTextAsText) {
    const QString path = testoffice::Path("三班成绩.xlsx");
    QFile::remove(path);
    ASSERT_TRUE(WriteWorkbook(path, Roster()));
    EXPECT_TRUE(testoffice::Bytes(path).startsWith("PK\x03\x04"));
    const SheetCells sheet = ReadFirstSheet(path);
    ASSERT_EQ(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.rows[0], (QVariantList{QStringLiteral("学号"), QStringLiteral("姓名"), QStringLiteral("成绩")}));
    // A student number keeps its zeros, a name that looks like a formula is not one.
    EXPECT_EQ(sheet.rows[1], (QVariantList{QStringLiteral("001"), QStringLiteral("张三"), 95.0}));
    EXPECT_EQ(sheet.rows[2], (QVariantList{QStringLiteral("002"), QStringLiteral("=1+1"), 59.5}));
    EXPECT_EQ(sheet.rows[3][2], QVariant(QStringLiteral("缺考")));
    // Nothing of the work is left beside it, and no office runs on.
    EXPECT_EQ(testoffice::Listing(testoffice::Dir()).filter(QStringLiteral("三班成绩")), QStringList{"三班成绩.xlsx"});
    TWordApplication app;
    EXPECT_FALSE(app.Attach());
}

TEST(SheetExport, ACancelledOrFailedExportLeavesTheEarlierFile) {
    const QString path = testoffice::Path("earlier.xlsx");
    testoffice::WriteFile(path, "an earlier export");
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(WriteWorkbook(path, Roster(), &cancel));
    EXPECT_EQ(testoffice::Bytes(path), "an earlier export");

    // No office at all: said in words, the file as it was.
    const QString program = TWordApplication::Settings().program;
    TWordApplication::Settings().program = QStringLiteral("/nonexistent/soffice");
    try {
        WriteWorkbook(path, Roster());
        ADD_FAILURE() << "written without an office";
    } catch (const EWordError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("无法启动办公软件"))) << e.Message().toStdString();
    }
    TWordApplication::Settings().program = program;
    EXPECT_EQ(testoffice::Bytes(path), "an earlier export");
    // A folder that is not there.
    EXPECT_THROW(WriteWorkbook(testoffice::Path("gone/x.xlsx"), Roster()), EFileWriteError);
    EXPECT_EQ(testoffice::Listing(testoffice::Dir()).filter(QStringLiteral("earlier")), QStringList{"earlier.xlsx"});
}
