// A column pasted into the score grid, by real keys, the editor's menu and a
// drop: the rows it fills, the questions, and one-line pastes as before.
#include "app_fixture.h"

#include "framed_grid.h"
#include "led_display.h"
#include "number_format.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

class ScorePaste : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        FocusScoreGrid();
    }
    void Clip(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    QStringList Grid(int from, int to) const { return ScoreCells(from, to); }
};

TEST_F(ScorePaste, ShiftInsertFillsRowsDownFromTheCurrentOne) {
    SetScores({"50"});
    ClickCell(1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);  // row 3, editor closed
    Clip("85\r\n90.50\r\n\r\n77\r\n");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(Grid(1, 6), (QStringList{"50", "", "85", "90.5", "77", ""}));
    EXPECT_EQ(form->LED->Caption(), "4");

    // In an open editor: the typed text is one of the rows replaced, after asking.
    ClickCell(5);
    Type("6");
    ASSERT_NE(form->strgrdscore->InplaceEditor(), nullptr);
    Clip("61\n62\n");
    dialogs.answers.push_back(MsgResult::OK);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("第5行到第6行中已有1个成绩，粘贴后将被替换。是否继续？"));
    EXPECT_EQ(Grid(5, 6), (QStringList{"61", "62"}));
    EXPECT_EQ(form->strgrdscore->InplaceEditor()->text(), "61");
    // Leaving the row commits the editor's text, which is the pasted one.
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid(5, 6), (QStringList{"61", "62"}));
    EXPECT_EQ(form->LED->Caption(), "5");
}

TEST_F(ScorePaste, ARefusedLineWritesNothingUnlessTheTeacherAgrees) {
    ClickCell(1);
    Clip("95\nabc\n101\n60\n");
    dialogs.answers.push_back(MsgResult::Cancel);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("粘贴内容第2行：abc\r粘贴内容第3行：101")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Grid(1, 2), (QStringList{"", ""}));
    EXPECT_EQ(form->LED->Caption(), "0");

    dialogs.answers.push_back(MsgResult::OK);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Grid(1, 3), (QStringList{"95", "60", ""}));
}

TEST_F(ScorePaste, PastingPastTheLastRowPastesNothing) {
    form->strgrdscore->SetRow(298);
    Clip("1\n2\n3\n");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("粘贴的3个成绩从第298行起放不下：成绩表只到第299行，从这里起还能放2个。没有粘贴任何成绩。"));
    EXPECT_EQ(Grid(298, 299), (QStringList{"", ""}));
}

TEST_F(ScorePaste, OneLineBehavesAsTypedAndCtrlVStaysRefused) {
    ClickCell(1);
    Clip("88\n");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Trim(form->strgrdscore->Cells(0, 1)), "88");
    EXPECT_EQ(form->LED->Caption(), "1");

    Key(Qt::Key_Tab);
    Clip("105");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("请输入0~100范围的分值！")});
    EXPECT_EQ(form->strgrdscore->Cells(0, 2), "");

    dialogs.messages.clear();
    Clip("70\n71\n");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("请输入数字！")});
    EXPECT_EQ(form->strgrdscore->Cells(0, 3), "");
}

TEST_F(ScorePaste, TheEditorsContextMenuPastesTheColumn) {
    ClickCell(2);
    Type("7");
    QLineEdit* editor = form->strgrdscore->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    Clip("成绩\n66\n67\n");  // a header copied with the column is skipped
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), editor->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(editor, &menuEvent);
    auto* menu = editor->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    dialogs.answers.push_back(MsgResult::OK);  // row 2 holds the typed 7
    paste->trigger();
    menu->close();
    EXPECT_EQ(Grid(1, 4), (QStringList{"", "66", "67", ""}));
}

TEST_F(ScorePaste, ADropFillsFromTheRowItLandsOn) {
    QMimeData mime;
    mime.setText("91\t\n92\n");
    const QPoint at = form->strgrdscore->CellRect(0, 4).center();
    QWidget* viewport = form->strgrdscore->viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Grid(3, 6), (QStringList{"", "91", "92", ""}));
    EXPECT_EQ(form->strgrdscore->Row(), 4);
}

TEST_F(ScorePaste, RowsCopiedFromASpreadsheetGiveTheirScoreColumn) {
    ClickCell(1);
    Clip(QStringLiteral("学号\t姓名\t成绩\r\n2006001\t张三\t85\r\n2006002\t李四\t缺考\r\n2006003\t王五\t93\r\n"));
    dialogs.answers.push_back(MsgResult::OK);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("粘贴内容第3行：缺考"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Grid(1, 3), (QStringList{"85", "93", ""}));
}
