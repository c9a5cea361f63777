#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {
// The next scripted answer; a dialog nobody scripted fails the test and gets
// the answer that changes nothing.
template <class T>
T Next(std::deque<T>& script, T unscripted, const char* what, const QString& about) {
    if (script.empty()) {
        ADD_FAILURE() << "an unscripted " << what << ": " << about.toStdString();
        return unscripted;
    }
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

template <class T>
void ExpectUsed(std::deque<T>& script, const char* what) {
    EXPECT_TRUE(script.empty()) << script.size() << " scripted " << what << " never asked for";
    script.clear();
}
}  // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(Dialogs::Install(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
    Dialogs::Install(previous_);
    ExpectAllAnswered();
}

void ScriptedDialogs::ExpectAllAnswered() {
    ExpectUsed(answers, "message answer(s)");
    ExpectUsed(saveAnswers, "save dialog answer(s)");
    ExpectUsed(openAnswers, "open dialog answer(s)");
    ExpectUsed(folderAnswers, "folder answer(s)");
    ExpectUsed(saveQuestionAnswers, "save-first answer(s)");
}

MsgResult ScriptedDialogs::Message(QWidget*, const QString& caption, const QString& text, MsgIcon icon,
                                   MsgButtons buttons) {
    messages.push_back({caption, text, icon, buttons});
    if (onMessage) onMessage(messages.back());
    if (buttons == MsgButtons::OK) return MsgResult::OK;
    return Next(answers, MsgResult::Cancel, "question", text);
}

std::optional<QString> ScriptedDialogs::SaveFile(QWidget*, const SaveDialogRequest& request) {
    saveRequests.push_back(request);
    return Next(saveAnswers, std::optional<QString>(), "save dialog", request.fileName);
}

std::optional<QString> ScriptedDialogs::OpenFile(QWidget*, const OpenDialogRequest& request) {
    openRequests.push_back(request);
    return Next(openAnswers, std::optional<QString>(), "open dialog", request.fileName);
}

std::optional<QString> ScriptedDialogs::ChooseFolder(QWidget*, const QString& caption, const QString&) {
    return Next(folderAnswers, std::optional<QString>(), "folder choice", caption);
}

QStringList ScriptedDialogs::Texts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

SaveAnswer ScriptedDialogs::AskToSave(QWidget*, const QString&, const QString& text) {
    saveQuestions << text;
    return Next(saveQuestionAnswers, SaveAnswer::Cancel, "save-first question", text);
}
