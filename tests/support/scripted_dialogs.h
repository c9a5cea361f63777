#pragma once
// Dialogs that record every message shown and answer from a script, so tests
// drive the real handlers without a person at the screen.
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
    ~ScriptedDialogs() override;  // restores the previous dialogs

    MsgResult Message(QWidget* owner, const QString& caption, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> SaveFile(QWidget* owner, const SaveDialogRequest& request) override;
    std::optional<QString> OpenFile(QWidget* owner, const OpenDialogRequest& request) override;
    SaveAnswer AskToSave(QWidget* owner, const QString& caption, const QString& text) override;

    std::vector<ShownMessage> messages;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<OpenDialogRequest> openRequests;
    // The texts of the save-first questions asked, in order (not in messages).
    QStringList saveQuestions;
    // Answers for confirmation boxes, in order; OK when empty.
    std::deque<MsgResult> answers;
    // Answers for save dialogs, in order; cancel when empty.
    std::deque<std::optional<QString>> saveAnswers;
    // Answers for open dialogs, in order; cancel when empty.
    std::deque<std::optional<QString>> openAnswers;
    // Answers for the save-first question, in order; one more question fails the test.
    std::deque<SaveAnswer> saveQuestionAnswers;
    // Runs while a message is "open" (for checks made at that moment).
    std::function<void(const ShownMessage&)> onMessage;

    QStringList Texts() const;
private:
    Dialogs* previous_;
};
