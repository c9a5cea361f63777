// The office wrappers against a real office: the template's structure, cell
// numbering, text and picture into cells, save as Word 97-2003, print.
#include "office_env.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QStringList CellTexts(WordTable t) {
    QStringList out;
    WordCells cells = t.Range().Cells();
    for (int k = 1; k <= cells.Count(); ++k) out << cells.Item(k).Range().Text();
    return out;
}

TEST(WordTemplate, HasFourTablesWithTheNumberedCells) {
    const QString path = testoffice::WriteTemplate("structure.doc");
    TWordApplication app;
    app.SetVisible(false);
    app.Documents().Open(path, EmptyParam, true);
    TWordDocument doc;
    doc.ConnectTo(app.Documents().Item(1));
    WordTables tables = doc.Tables();
    ASSERT_EQ(tables.Count(), 4);
    EXPECT_EQ(tables.Item(1).Range().Cells().Count(), 14);
    EXPECT_EQ(tables.Item(2).Range().Cells().Count(), 23);
    EXPECT_EQ(tables.Item(3).Range().Cells().Count(), 1);
    EXPECT_EQ(tables.Item(4).Range().Cells().Count(), 1);

    const QStringList info = CellTexts(tables.Item(1));
    const QStringList infoLabels{"课程名称", "任课教师", "课程编号", "学分/学时", "授课班级", "考试方式", "考试时间"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(info[2 * i], infoLabels[i]) << "cell " << 2 * i + 1;
        EXPECT_EQ(info[2 * i + 1], "") << "cell " << 2 * i + 2;
    }
    const QStringList grade = CellTexts(tables.Item(2));
    const QStringList bands{"优〔90+)", "良〔80-90)", "中〔70-80)", "及格〔60-70)", "不及格(60-)"};
    EXPECT_EQ(grade.mid(0, 3), (QStringList{"成绩分布", "人数", "百分比％"}));
    for (int row = 1; row <= 5; ++row) EXPECT_EQ(grade[3 * row], bands[row - 1]);
    EXPECT_EQ(grade[18], "总数");
    EXPECT_EQ(grade[21], "平均成绩");
    EXPECT_EQ(grade[22], "");
    EXPECT_TRUE(tables.Item(3).Range().Pictures().isEmpty());

    EXPECT_THROW(tables.Item(5), EWordError);
    EXPECT_THROW(tables.Item(0), EWordError);
    EXPECT_THROW(tables.Item(1).Range().Cells().Item(15), EWordError);
    EXPECT_TRUE(app.Documents().Item(1).ReadOnly());
    doc.Close();
    app.Quit();
}

TEST(WordDocument, TextAndPictureSurviveSaveAsWord97) {
    const QString path = testoffice::WriteTemplate("cells.doc");
    const QString out = testoffice::Path("saved.doc");
    {
        QFile old(out);  // an earlier file there is replaced
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a document");
    }
    QImage picture(393, 313, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 40; x < 90; ++x)
        for (int y = 100; y < 300; ++y) picture.setPixel(x, y, qRgb(192, 192, 192));
    QGuiApplication::clipboard()->setImage(picture);

    {
        TWordApplication app;
        app.SetVisible(false);
        app.Documents().Open(path, EmptyParam, false);
        TWordDocument doc;
        doc.ConnectTo(app.Documents().Item(1));
        WordTables tables = doc.Tables();
        tables.Item(1).Range().Cells().Item(2).Range().SetText("高等数学");
        tables.Item(1).Range().Cells().Item(8).Range().SetText("old");
        tables.Item(1).Range().Cells().Item(8).Range().SetText("3/48");  // replaces, not appends
        tables.Item(2).Range().Cells().Item(23).Range().SetText("77.5");
        tables.Item(3).Range().Cells().Item(1).Range().Paste();
        tables.Item(4).Range().Cells().Item(1).Range().SetText("第一行\r\n第二行\r\n\r\n第四行");
        doc.SaveAs(out);
        doc.Close();
        doc.Disconnect();
        app.Quit();
        EXPECT_FALSE(app.Connected());
    }

    QFile saved(out);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));  // an OLE compound file

    TWordApplication app;
    app.Documents().Open(out, EmptyParam, true);
    TWordDocument doc;
    doc.ConnectTo(app.Documents().Item(1));
    WordTables tables = doc.Tables();
    ASSERT_EQ(tables.Count(), 4);
    EXPECT_EQ(tables.Item(1).Range().Cells().Count(), 14);
    EXPECT_EQ(tables.Item(2).Range().Cells().Count(), 23);
    EXPECT_EQ(tables.Item(1).Range().Cells().Item(2).Range().Text(), "高等数学");
    EXPECT_EQ(tables.Item(1).Range().Cells().Item(8).Range().Text(), "3/48");
    EXPECT_EQ(tables.Item(2).Range().Cells().Item(23).Range().Text(), "77.5");
    EXPECT_EQ(tables.Item(3).Range().Pictures(), (QList<QSize>{QSize(393, 313)}));
    EXPECT_EQ(tables.Item(4).Range().Cells().Item(1).Range().Text().split('\n'),
              (QStringList{"第一行", "第二行", "", "第四行"}));
    app.Quit();
}

TEST(WordApplication, MissingFilesFailAndACopyPrintsToAFile) {
    const QString path = testoffice::WriteTemplate("print.doc");
    TWordApplication app;
    app.SetVisible(false);
    EXPECT_THROW(app.Documents().Open(testoffice::Path("missing.doc")), EWordError);
    EXPECT_THROW(app.Documents().Add(testoffice::Path("missing.doc"), false), EWordError);
    EXPECT_THROW(app.Documents().Item(1), EWordError);

    WordDocument copy = app.Documents().Add(path, false);
    EXPECT_EQ(copy.FullName(), "");  // untitled: a copy, not the file itself
    const QString printed = testoffice::Path("printed.ps");
    app.PrintOut(EmptyParam, EmptyParam, EmptyParam, printed, EmptyParam, EmptyParam, EmptyParam, EmptyParam,
                 EmptyParam, EmptyParam, true);
    EXPECT_GT(QFileInfo(printed).size(), 1000);
    app.Quit();
}

}  // namespace
