#include "app_fixture.h"

#include "framed_grid.h"
#include "led_display.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QTest>

namespace {
struct EditEvent {
    int col, row;
    QString value;
    QString cellAtThatMoment;
};
}

class ScoreEntry : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // Watch the grid's set-edit-text events on their way to the window's handler.
        TSetEditEvent original = form->strgrdscore->OnSetEditText;
        form->strgrdscore->OnSetEditText = [this, original](TComponent* s, int c, int r, const QString& v) {
            events.push_back({c, r, v, form->strgrdscore->Cells(c, r)});
            original(s, c, r, v);
        };
        FocusScoreGrid();
    }
    std::vector<EditEvent> events;
    QString Led() const { return form->LED->Caption(); }
};

TEST_F(ScoreEntry, EachKeystrokeCommitsTheWholeTextAndTheCellAlreadyHoldsIt) {
    Type("85");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].value, "8");
    EXPECT_EQ(events[0].cellAtThatMoment, "8");
    EXPECT_EQ(events[1].value, "85");
    EXPECT_EQ(events[1].cellAtThatMoment, "85");
    EXPECT_EQ(events[1].row, 1);
    EXPECT_EQ(Led(), "1");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ScoreEntry, TypingOnAClosedCellReplacesItsText) {
    form->strgrdscore->SetCells(0, 1, "90");
    Type("7");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, "7");
    Key(Qt::Key_Return);  // close
    events.clear();
    Key(Qt::Key_Backspace);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, "");
}

TEST_F(ScoreEntry, RefusedKeysShowTheMessageAndChangeNothing) {
    Type("8");
    events.clear();
    Type("a");
    Type(" ");
    Key(Qt::Key_V, Qt::ControlModifier);
    Type("-");
    ASSERT_EQ(dialogs.messages.size(), 4u);
    for (const ShownMessage& m : dialogs.messages) {
        EXPECT_EQ(m.text, "请输入数字！");
        EXPECT_EQ(m.caption, "错误操作");
        EXPECT_EQ(m.icon, MsgIcon::None);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), "8");
}

TEST_F(ScoreEntry, AScoreAbove100IsRefusedWhenItsLastDigitIsTypedAndTheCellEmptied) {
    Type("100.5");
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[3].value, "100.");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "请输入0~100范围的分值！");
    EXPECT_EQ(dialogs.messages[0].caption, "错误操作");
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), "");
    ASSERT_NE(form->strgrdscore->InplaceEditor(), nullptr);
    EXPECT_EQ(form->strgrdscore->InplaceEditor()->text(), "");
    EXPECT_EQ(Led(), "0");
    // 100 and 0 are scores.
    Type("100\t0\t");
    EXPECT_EQ(Led(), "2");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(ScoreEntry, TabCommitsMovesDownWithTheEditorClosedAndWrapsToTheTop) {
    Type("72");
    events.clear();
    Key(Qt::Key_Tab);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, "72");
    EXPECT_EQ(events[0].row, 1);
    EXPECT_EQ(form->strgrdscore->Row(), 2);
    EXPECT_EQ(form->strgrdscore->InplaceEditor(), nullptr);
    form->strgrdscore->SetRow(299);
    Key(Qt::Key_Tab);
    EXPECT_EQ(form->strgrdscore->Row(), 1);
    Key(Qt::Key_Backtab);
    EXPECT_EQ(form->strgrdscore->Row(), 299);
    Key(Qt::Key_Down);
    EXPECT_EQ(form->strgrdscore->Row(), 299);
    form->strgrdscore->SetRow(1);
    Key(Qt::Key_Up);
    EXPECT_EQ(form->strgrdscore->Row(), 1);
}

TEST_F(ScoreEntry, EnterClosesAndReopensTheEditorWithoutMoving) {
    Type("6");
    events.clear();
    Key(Qt::Key_Return);
    EXPECT_EQ(form->strgrdscore->InplaceEditor(), nullptr);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value, "6");
    EXPECT_EQ(form->strgrdscore->Row(), 1);
    Key(Qt::Key_Return);
    QLineEdit* editor = form->strgrdscore->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->selectedText(), "6");
    EXPECT_EQ(form->strgrdscore->Row(), 1);
}

TEST_F(ScoreEntry, AClickCommitsMovesAndOnlyThenRecounts) {
    Type("55");
    form->strgrdscore->SetCells(0, 2, "  ");
    form->strgrdscore->SetCells(0, 3, "61");
    // Deleting text does not lower the count until the next press on the grid.
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Led(), "2");  // counted at "5", with row 3
    ClickCell(4);
    EXPECT_EQ(form->strgrdscore->Row(), 4);
    EXPECT_EQ(Led(), "1");
}

TEST_F(ScoreEntry, AllRowsFilledCountTo299) {
    for (int row = 1; row <= 299; ++row) form->strgrdscore->SetCells(0, row, "60");
    ClickCell(1);
    EXPECT_EQ(Led(), "299");
}

TEST_F(ScoreEntry, TextThatIsNotANumberGetsTheStandardErrorReport) {
    Type(".");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "'.' is not a valid floating point value.");
    EXPECT_EQ(dialogs.messages[0].caption, "Markwise2006版");
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), ".");
    EXPECT_EQ(Led(), "0");
}

TEST_F(ScoreEntry, NumericEditsTakeDigitsOnly) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    form->edtgrade->setFocus();
    Type("3.5");
    EXPECT_EQ(form->edtgrade->Text(), "35");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "请输入数字！");
    form->edtteacher->setFocus();
    Type("Li.");
    EXPECT_EQ(form->edtteacher->Text(), "Li.");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

// Delete types no character, so no key filter sees it; it edits as in any editor.
TEST_F(ScoreEntry, DeleteEditsTheScoreAndTheNumericEditsWithoutAMessage) {
    Type("8.5");
    Key(Qt::Key_Left);
    Key(Qt::Key_Delete);
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), "8.");
    form->SkSkinPageControl1->SetActivePageIndex(0);
    form->edtgrade->setFocus();
    Type("34");
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    EXPECT_EQ(form->edtgrade->Text(), "4");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join(' ').toStdString();
}

TEST_F(ScoreEntry, ChineseTextFromAnInputMethodReachesTheEdits) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    form->edtclassname->setFocus();
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("高等数学"));
    QApplication::sendEvent(form->edtclassname, &compose);
    EXPECT_EQ(form->edtclassname->Text(), "高等数学");
    // The numeric edits keep their filter for composed text too.
    form->edtclassnumber->setFocus();
    QInputMethodEvent digits;
    digits.setCommitString(QStringLiteral("12三4"));
    QApplication::sendEvent(form->edtclassnumber, &digits);
    EXPECT_EQ(form->edtclassnumber->Text(), "124");
}
