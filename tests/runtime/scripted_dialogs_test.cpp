// The test dialogs are strict: were they to answer what nobody scripted, or
// to forget answers nobody asked for, every test driving a handler would
// pass on a dialog too many or too few.
#include "scripted_dialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(ScriptedDialogs, WhatNobodyScriptedFailsAndChangesNothing) {
    ScriptedDialogs d;
    Dialogs& current = Dialogs::Current();
    ASSERT_EQ(&current, &d);
    MsgResult choice = MsgResult::Yes;
    EXPECT_NONFATAL_FAILURE(choice = current.Message(nullptr, "试卷分析", "要清空吗？", MsgIcon::Question, MsgButtons::YesNo),
                            "an unscripted question: 要清空吗？");
    EXPECT_EQ(choice, MsgResult::Cancel);
    std::optional<QString> name = QStringLiteral("x");
    EXPECT_NONFATAL_FAILURE(name = current.SaveFile(nullptr, SaveDialogRequest{}), "an unscripted save dialog");
    EXPECT_EQ(name, std::nullopt);
    name = QStringLiteral("x");
    EXPECT_NONFATAL_FAILURE(name = current.OpenFile(nullptr, OpenDialogRequest{}), "an unscripted open dialog");
    EXPECT_EQ(name, std::nullopt);
    SaveAnswer save = SaveAnswer::Save;
    EXPECT_NONFATAL_FAILURE(save = current.AskToSave(nullptr, "试卷分析", "是否保存对本班的修改？"),
                            "an unscripted save-first question");
    EXPECT_EQ(save, SaveAnswer::Cancel);

    // A message with nothing to choose needs no answer; it is recorded all the same.
    EXPECT_EQ(current.Message(nullptr, "试卷分析", "已保存", MsgIcon::Information, MsgButtons::OK), MsgResult::OK);
    EXPECT_EQ(d.Texts(), (QStringList{"要清空吗？", "已保存"}));
    EXPECT_EQ(d.saveQuestions, QStringList{"是否保存对本班的修改？"});
}

TEST(ScriptedDialogs, AnswersAreGivenInOrderAndTheOldDialogsComeBack) {
    Dialogs* before = &Dialogs::Current();
    {
        ScriptedDialogs d;
        d.answers = {MsgResult::No, MsgResult::Yes};
        d.saveAnswers = {QStringLiteral("/tmp/a"), std::nullopt};
        Dialogs& current = Dialogs::Current();
        EXPECT_EQ(current.Message(nullptr, "", "一", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
        EXPECT_EQ(current.Message(nullptr, "", "二", MsgIcon::Question, MsgButtons::YesNo), MsgResult::Yes);
        EXPECT_EQ(current.SaveFile(nullptr, SaveDialogRequest{}), QStringLiteral("/tmp/a"));
        EXPECT_EQ(current.SaveFile(nullptr, SaveDialogRequest{}), std::nullopt);
    }
    EXPECT_EQ(&Dialogs::Current(), before);
}

// Each kind of answer left unused fails the test when the dialogs go away.
TEST(ScriptedDialogs, AnswersLeftOverFailTheTest) {
    const auto message = [] {
        ScriptedDialogs d;
        d.answers = {MsgResult::OK};
    };
    EXPECT_NONFATAL_FAILURE(message(), "1 scripted message answer(s) never asked for");
    const auto save = [] {
        ScriptedDialogs d;
        d.saveAnswers = {QStringLiteral("/tmp/a"), std::nullopt};
        (void)Dialogs::Current().SaveFile(nullptr, SaveDialogRequest{});
    };
    EXPECT_NONFATAL_FAILURE(save(), "1 scripted save dialog answer(s) never asked for");
    const auto open = [] {
        ScriptedDialogs d;
        d.openAnswers = {std::nullopt, std::nullopt};
    };
    EXPECT_NONFATAL_FAILURE(open(), "2 scripted open dialog answer(s) never asked for");
    const auto saveFirst = [] {
        ScriptedDialogs d;
        d.saveQuestionAnswers = {SaveAnswer::Discard};
    };
    EXPECT_NONFATAL_FAILURE(saveFirst(), "1 scripted save-first answer(s) never asked for");
}
