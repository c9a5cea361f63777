#pragma once
// Dialogs that record every message shown and answer from a script, so tests
// drive the real handlers without a person at the screen. The script is
// strict: a dialog that asks for an answer the test did not script fails the
// test, and so does an answer still unused when the dialogs go away.
#include "dialogs.h"
#include "qt_print.h"

#include <deque>
#include <functional>
#include <vector>

struct ShownMessage {
    QString caption;
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
};

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs();            // installs itself
    ~ScriptedDialogs() override;  // restores the previous dialogs; fails the test on unused answers

    MsgResult Message(QWidget* owner, const QString& caption, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> SaveFile(QWidget* owner, const SaveDialogRequest& request) override;
    std::optional<QString> OpenFile(QWidget* owner, const OpenDialogRequest& request) override;
    SaveAnswer AskToSave(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> ChooseFolder(QWidget* owner, const QString& caption, const QString& start) override;

    std::vector<ShownMessage> messages;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<OpenDialogRequest> openRequests;
    // The texts of the save-first questions asked, in order (not in messages).
    QStringList saveQuestions;
    // Answers for messages that offer a choice, in order. A message with only
    // an OK button needs none; one with a choice and no answer left fails the
    // test and is cancelled.
    std::deque<MsgResult> answers;
    // Answers for save dialogs, in order (nullopt cancels); none left fails the test.
    std::deque<std::optional<QString>> saveAnswers;
    // Answers for open dialogs, in order (nullopt cancels); none left fails the test.
    std::deque<std::optional<QString>> openAnswers;
    // Answers for folder choices, in order (nullopt cancels); none left fails the test.
    std::deque<std::optional<QString>> folderAnswers;
    // Answers for the save-first question, in order; none left fails the test and cancels.
    std::deque<SaveAnswer> saveQuestionAnswers;
    // Runs while a message is "open" (for checks made at that moment).
    std::function<void(const ShownMessage&)> onMessage;

    QStringList Texts() const;
    // Fails the test for every scripted answer not used yet, and drops them.
    void ExpectAllAnswered();

private:
    Dialogs* previous_;
};
