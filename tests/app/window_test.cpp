#include "app_fixture.h"

#include "date_time_picker.h"
#include "framed_grid.h"
#include "led_display.h"
#include "memo.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "styled_label.h"
#include "toolkit_language.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using Window = AppTest;

TEST_F(Window, StartsOnScoreEntryWithTheDocumentCommandsOff) {
    EXPECT_EQ(form->windowTitle(), "Markwise07.7");
    EXPECT_EQ(QSize(form->ClientWidth(), form->ClientHeight()), QSize(370, 287));
    EXPECT_EQ(form->size(), QSize(370 + 16 + 16, 287 + 36 + 21));
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_TRUE(form->MbMake->Checked());
    EXPECT_FALSE(form->MbPreview->Enabled());
    EXPECT_FALSE(form->MbPrint->Enabled());
    EXPECT_FALSE(form->MbPrint->Visible());
    EXPECT_TRUE(form->CustomItem1->Enabled());
    EXPECT_EQ(form->LED->Caption(), "0");
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 4);
    // The keys go into the score grid, not to the page tabs.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(QApplication::focusWidget() == form->strgrdscore || form->strgrdscore->isAncestorOf(QApplication::focusWidget()))
        << QApplication::focusWidget()->metaObject()->className();
    // Today when the window was made, even if the run has crossed midnight since.
    const QDate exam = form->tmExam->Date();
    EXPECT_TRUE(exam == createdOn || exam == QDate::currentDate()) << exam.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(form->tmBeginTime->Time(), QTime(8, 17));
    EXPECT_EQ(form->tmEndTime->Time(), QTime(8, 21));
    EXPECT_EQ(form->tmBeginTime->displayFormat(), "H:mm");
    EXPECT_TRUE(form->rdbtnbijuan->Checked());
    EXPECT_EQ(form->strgrdscore->Cells(0, 0), "成绩");
    EXPECT_EQ(form->strgrdscore->RowCount(), 300);
    const QStringList fixed{"成绩分布", "优(90+)", "良(80-90)", "中(70-80)", "及格(60-70)", "不及格(60-)", "总数", "平均成绩"};
    for (int row = 0; row < 8; ++row) EXPECT_EQ(form->sgrdAnalyse->Cells(0, row), fixed[row]);
    EXPECT_EQ(form->sgrdAnalyse->Cells(1, 0), "人数");
    EXPECT_EQ(form->sgrdAnalyse->Cells(2, 0), "百分比%");
    QStringList tabs;
    for (int i = 0; i < form->SkSkinPageControl1->PageCount(); ++i) tabs << form->SkSkinPageControl1->tabText(i);
    EXPECT_EQ(tabs, QStringList({"信息录入", "成绩分析", "直方图", "试卷分析", "成绩录入"}));
}

// The window opens on score entry before its other pages exist; a page
// coming up on the screen has its controls built first.
TEST_F(Window, OtherPagesAreBuiltWhenOneIsAboutToShow) {
    TForm1 fresh(help.get());
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    EXPECT_FALSE(fresh.LoadingComplete());
    EXPECT_EQ(fresh.edtclassname, nullptr);
    EXPECT_TRUE(fresh.SkSkinPageControl1->Pages(0)->findChildren<QWidget*>().isEmpty());
    EXPECT_TRUE(fresh.strgrdscore->isVisible());

    fresh.SkSkinPageControl1->SetActivePageIndex(0);
    ASSERT_TRUE(fresh.LoadingComplete());
    ASSERT_TRUE(fresh.edtclassname && fresh.sgrdAnalyse);
    EXPECT_TRUE(fresh.edtclassname->isVisible());
    EXPECT_EQ(fresh.sgrdAnalyse->Cells(0, 1), "优(90+)");
}

TEST_F(Window, TabOrderOfTheInformationTab) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    form->edtclassname->setFocus();
    QStringList order;
    for (int i = 0; i < 13; ++i) {
        order << QApplication::focusWidget()->objectName();
        QWidget* w = QApplication::focusWidget();
        auto* c = dynamic_cast<TComponent*>(w);
        if (!c) c = dynamic_cast<TComponent*>(w->parentWidget());
        order.last() = c ? c->Name() : QStringLiteral("?");
        QTest::keyClick(w, Qt::Key_Tab);
    }
    // Radio buttons of one group take one stop; the pickers follow hours and credits.
    const int hours = order.indexOf("edttime"), credits = order.indexOf("edtgrade");
    EXPECT_EQ(order.mid(0, 5), QStringList({"edtclassname", "edtteacher", "edtclass", "edtclassnumber", "rdbtnbijuan"}));
    EXPECT_EQ(hours, 5);
    EXPECT_EQ(credits, 6);
    EXPECT_EQ(order.mid(7, 3), QStringList({"tmBeginTime", "tmEndTime", "tmExam"}));
}

TEST_F(Window, ResetAsksFirstAndKeepsTheDescriptionAndConclusion) {
    SetScores({"95", "85"});
    form->btnAnalyseClick(form->btnAnalyse);
    form->MbPreview->SetEnabled(true);
    form->edtteacher->SetText("王老师");
    form->mmadvice->SetText("第一行\r\n第二行");

    // Unsaved, so the question comes first; then the reset's own confirmation.
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    dialogs.answers = {MsgResult::Cancel};
    form->btnClearClick(form->btnClear);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "Confirm");
    EXPECT_EQ(dialogs.messages[0].text, "您确认要清空所有成绩以及分析结果吗？\r信息录入和试卷分析的内容不会改变！");
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), "95");
    EXPECT_EQ(form->sgrdAnalyse->Cells(1, 6), "2");
    EXPECT_TRUE(form->MbMake->Enabled());

    dialogs.answers = {MsgResult::OK};
    form->btnClearClick(form->btnClear);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), "");
    EXPECT_EQ(form->strgrdscore->Cells(0, 0), "成绩");
    for (int row = 1; row <= 7; ++row) {
        EXPECT_EQ(form->sgrdAnalyse->Cells(1, row), "");
        EXPECT_EQ(form->sgrdAnalyse->Cells(2, row), "");
    }
    EXPECT_EQ(form->sgrdAnalyse->Cells(0, 7), "平均成绩");
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_FALSE(form->MbPreview->Enabled());
    EXPECT_FALSE(form->MbPrint->Enabled());
    EXPECT_EQ(form->LED->Caption(), "0");
    EXPECT_EQ(form->edtteacher->Text(), "王老师");
    EXPECT_EQ(form->mmadvice->Text(), "第一行\r\n第二行");

    form->btnAnalyseClick(form->btnAnalyse);
    EXPECT_EQ(dialogs.messages.back().text, "请输入成绩!");
}

TEST_F(Window, HelpOpensModallyAndChangesNothing) {
    bool shown = false, modal = false;
    WhenShown(help.get(), [&] {
        shown = true;
        modal = help->isModal() && QApplication::activeModalWidget() == help.get();
        help->close();
    });
    QTest::mouseClick(form->findChild<TSkSkinMenuBar*>(), Qt::LeftButton, Qt::NoModifier,
                      form->findChild<TSkSkinMenuBar*>()->ItemRect(form->CustomItem1).center());
    EXPECT_TRUE(shown) << "帮助 opened no window";
    EXPECT_TRUE(modal);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "帮助");
    ASSERT_NE(help->FrLabel4, nullptr);
    EXPECT_EQ(help->FrLabel4->Caption().split(QChar(13)).size(), 18);
    EXPECT_TRUE(help->FrLabel4->Caption().startsWith("      鉴于本软件"));
    EXPECT_FALSE(form->MbMake->Enabled());
}

TEST_F(Window, DisabledMenuItemsIgnoreClicks) {
    int clicks = 0;
    form->MbMake->OnClick = [&](TComponent*) { ++clicks; };
    auto* bar = form->findChild<TSkSkinMenuBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ItemRect(form->MbMake).center());
    EXPECT_EQ(clicks, 0);
    form->MbMake->SetEnabled(true);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->ItemRect(form->MbMake).center());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(bar->ItemRect(form->MbPrint).isEmpty());
}

TEST_F(Window, TheMenuWorksFromTheKeys) {
    auto* bar = form->findChild<TSkSkinMenuBar*>();
    bool shown = false;
    WhenShown(help.get(), [&] {
        shown = true;
        help->close();
    });
    QTest::keyClick(form->windowHandle(), Qt::Key_F10);
    EXPECT_EQ(bar->Highlighted(), form->MbMake);
    QTest::keyClick(form->windowHandle(), Qt::Key_Return);  // disabled: nothing
    EXPECT_TRUE(TSkMenuMode::Instance().Active());
    QTest::keyClick(form->windowHandle(), Qt::Key_Left);    // past the hidden print item
    EXPECT_EQ(bar->Highlighted(), form->CustomItem1);
    QTest::keyClick(form->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(TSkMenuMode::Instance().Active());
    EXPECT_FALSE(form->MbMake->Enabled());
}

// The toolkit's own dialogs speak Chinese like the rest of the window.
TEST_F(Window, StandardButtonsAreChinese) {
    QObject owner;
    ASSERT_TRUE(InstallChineseToolkitTexts(&owner));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_TRUE(box.button(QDialogButtonBox::Yes)->text().startsWith(QStringLiteral("是")));
}

// On 试卷分析 the conclusion's memo sits in the middle of its panel, as far
// from the panel's left edge as from its right.
TEST_F(Window, TheConclusionMemoIsCentredInItsPanel) {
    form->SkSkinPageControl1->SetActivePageIndex(3);
    ASSERT_TRUE(form->LoadingComplete());
    QWidget* panel = form->mmadvice->parentWidget();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(form->mmadvice->isVisible());
    const QRect memo = form->mmadvice->geometry();
    const int left = memo.left(), right = panel->width() - memo.right() - 1;
    EXPECT_LE(std::abs(left - right), 1) << "left " << left << ", right " << right << " in a panel " << panel->width() << " wide";
    EXPECT_GE(left, 4);
}
