#include "application.h"

#include "exceptions.h"

#include <QApplication>

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::ShowException(const std::exception& e) {
    QString text;
    if (auto* ex = dynamic_cast<const Exception*>(&e)) text = ex->Message();
    else text = QString::fromUtf8(e.what());
    if (!text.isEmpty() && !text.endsWith('.')) text += '.';
    Dialogs::Current().Message(mainForm_, title_, text, MsgIcon::Error, MsgButtons::OK);
}

void TApplication::HandleCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception(QStringLiteral("Unknown error")));
    }
}

void TApplication::Inform(const QString& text) {
    Dialogs::Current().Message(mainForm_, title_, text, MsgIcon::Information, MsgButtons::OK);
}
