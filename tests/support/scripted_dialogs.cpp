#include "scripted_dialogs.h"

#include <gtest/gtest.h>

ScriptedDialogs::ScriptedDialogs() : previous_(Dialogs::Install(this)) {}
ScriptedDialogs::~ScriptedDialogs() { Dialogs::Install(previous_); }

MsgResult ScriptedDialogs::Message(QWidget*, const QString& caption, const QString& text, MsgIcon icon,
                                   MsgButtons buttons) {
    messages.push_back({caption, text, icon, buttons});
    if (onMessage) onMessage(messages.back());
    if (answers.empty()) return MsgResult::OK;
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
}

std::optional<QString> ScriptedDialogs::SaveFile(QWidget*, const SaveDialogRequest& request) {
    saveRequests.push_back(request);
    if (saveAnswers.empty()) return std::nullopt;
    auto r = saveAnswers.front();
    saveAnswers.pop_front();
    return r;
}

std::optional<QString> ScriptedDialogs::OpenFile(QWidget*, const OpenDialogRequest& request) {
    openRequests.push_back(request);
    if (openAnswers.empty()) return std::nullopt;
    auto r = openAnswers.front();
    openAnswers.pop_front();
    return r;
}

QStringList ScriptedDialogs::Texts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

SaveAnswer ScriptedDialogs::AskToSave(QWidget*, const QString&, const QString& text) {
    saveQuestions << text;
    if (saveQuestionAnswers.empty()) {
        // A test that did not expect the question is wrong, not answered.
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return SaveAnswer::Cancel;
    }
    const SaveAnswer a = saveQuestionAnswers.front();
    saveQuestionAnswers.pop_front();
    return a;
}
