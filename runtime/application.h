#pragma once
// The application object: title, main form, and the one place where an
// exception escaping an event handler is reported.
#include "dialogs.h"

#include <QString>
#include <exception>
#include <functional>
#include <utility>

class QWidget;

class TApplication {
public:
    static TApplication& Instance();

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    QWidget* MainForm() const { return mainForm_; }
    void SetMainForm(QWidget* w) { mainForm_ = w; }

    // The standard error report: a message box with the exception's text.
    void ShowException(const std::exception& e);
    void HandleCurrentException();

    // Shows an information message captioned with the title.
    void Inform(const QString& text);

private:
    QString title_;
    QWidget* mainForm_ = nullptr;
};

inline TApplication& Application() { return TApplication::Instance(); }

// Runs then once w has painted for the first time.
void AfterFirstPaint(QWidget* w, std::function<void()> then);
// Ends the event loop once w has painted for the first time (start-up timing).
// With MARKWISE_PAINTED_FD set it first writes one byte to that descriptor,
// so a timer can stop at the paint rather than at the end of the process.
void QuitAfterFirstPaint(QWidget* w);
// A termination request (SIGTERM, SIGINT, SIGHUP: a logout, Ctrl+C, kill)
// ends the event loop, so the program closes as if its window were closed
// and what it started goes with it; a second request ends it at once.
void QuitOnTerminationSignals();

// Runs work; an exception that escapes it is shown and goes no further.
template <typename F>
void Shielded(F&& work) {
    try {
        work();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

// Runs an event handler; an exception that escapes it ends that handler only.
template <typename F, typename... Args>
void Fire(const F& handler, Args&&... args) {
    if (handler) Shielded([&] { handler(std::forward<Args>(args)...); });
}
