#pragma once
// Puts a test into a locale the way the program meets it: the C library's
// locale set by name (as Qt does at start from the environment) and Qt's
// default locale. Locales the machine lacks are built with localedef.
#include <QLocale>
#include <QString>

class ScopedLocale {
public:
    explicit ScopedLocale(const QString& name);  // "de_DE.UTF-8", "zh_CN.UTF-8", "C"
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale could be neither found nor built.
    bool Active() const { return active_; }

private:
    QByteArray savedC_;
    QLocale savedQt_;
    bool active_ = false;
};
