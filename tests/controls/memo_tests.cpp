#include "memo.h"
#include "pixels.h"

#include <QLineEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {
struct MemoWindow {
    QWidget window;
    TFrMemo* memo;
    QLineEdit* next;
    MemoWindow() : memo(new TFrMemo(nullptr, &window)), next(new QLineEdit(&window)) {
        window.resize(300, 200);
        memo->SetBounds(0, 0, 200, 150);
        next->setGeometry(210, 0, 80, 20);
        ShowActive(window);
        memo->setFocus();
        QApplication::processEvents();
    }
};
}  // namespace

TEST(Memo, EnterMovesOnWithTabOnEnter) {
    MemoWindow w;
    QTest::keyClicks(w.memo, QStringLiteral("ab"));
    QTest::keyClick(w.memo, Qt::Key_Return);
    EXPECT_EQ(w.memo->Text(), QStringLiteral("ab\r\n"));
    EXPECT_TRUE(w.memo->hasFocus());

    w.memo->SetTabOnEnter(true);
    QTest::keyClick(w.memo, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(w.memo->Text(), QStringLiteral("ab\r\n"));
    EXPECT_TRUE(w.next->hasFocus());
}

TEST(Memo, CaretLineAndColumnEvents) {
    MemoWindow w;
    std::vector<std::pair<int, int>> seen;
    int clipboardReports = 0;
    bool lastSelection = true;
    w.memo->OnLineColChange = [&](TComponent*, int line, int col) { seen.emplace_back(line, col); };
    w.memo->OnClipboardChange = [&](TComponent*, bool selection, bool) {
        ++clipboardReports;
        lastSelection = selection;
    };
    QTest::keyClicks(w.memo, QStringLiteral("one"));
    QTest::keyClick(w.memo, Qt::Key_Return);
    QTest::keyClicks(w.memo, QStringLiteral("tw"));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(2, 3));
    EXPECT_EQ(w.memo->Line(), 2);
    EXPECT_EQ(w.memo->Column(), 3);
    EXPECT_GT(clipboardReports, 0);
    EXPECT_FALSE(lastSelection);

    w.memo->SetLine(1);
    EXPECT_EQ(w.memo->Line(), 1);
    EXPECT_EQ(w.memo->Column(), 1);
    w.memo->SetColumn(4);  // just past "one"
    EXPECT_EQ(w.memo->Column(), 4);
    w.memo->SetColumn(6);  // beyond the line: ignored
    EXPECT_EQ(w.memo->Column(), 4);
    EXPECT_EQ(seen.back(), std::make_pair(1, 4));

    w.memo->selectAll();
    QTest::keyClick(w.memo, Qt::Key_Shift);
    EXPECT_TRUE(lastSelection);
}

TEST(Memo, WrappedLinesCountAsLines) {
    MemoWindow w;
    w.memo->SetText(QString(200, QLatin1Char('x')).replace(QRegularExpression(QStringLiteral("(x{9})x")), QStringLiteral("\\1 ")));
    QTextCursor c = w.memo->textCursor();
    c.movePosition(QTextCursor::End);
    w.memo->setTextCursor(c);
    EXPECT_GT(w.memo->Line(), 1);
    EXPECT_EQ(w.memo->Line(), w.memo->LineCount());
}

TEST(Memo, ChineseTextThroughTheInputMethod) {
    MemoWindow w;
    EXPECT_TRUE(w.memo->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("教学体会"));
    QApplication::sendEvent(w.memo, &commit);
    EXPECT_EQ(w.memo->Text(), QStringLiteral("教学体会"));
    EXPECT_EQ(w.memo->Column(), 5);
}
