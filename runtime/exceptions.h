#pragma once
// Exceptions of the runtime and the libraries above it. The message is kept as
// QString so Chinese texts survive; what() gives it as UTF-8.
#include <QString>
#include <QByteArray>
#include <stdexcept>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }
private:
    QString message_;
    QByteArray utf8_;
};

#define MARKWISE_EXCEPTION(Name) \
    class Name : public Exception { public: using Exception::Exception; };

MARKWISE_EXCEPTION(EConvertError)
MARKWISE_EXCEPTION(EStreamError)     // a damaged or unreadable component/skin stream
MARKWISE_EXCEPTION(EReadError)       // a form description that cannot be applied
MARKWISE_EXCEPTION(EInvalidOperation)
MARKWISE_EXCEPTION(EGridError)
