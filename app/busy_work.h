#pragma once
// Work that waits on a file or the office runs on a thread of its own while
// the window goes on painting: a busy pointer at once, input to the windows
// held back, and past a second a small window that says what is going on,
// with 取消 where the work can stop safely.
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

// Asked by the work between its steps; set when the teacher pressed 取消.
using CancelFlag = std::atomic<bool>;

// What 取消 does while the work runs.
enum class BusyCancel {
    None,   // no 取消: the work runs to its end (a save)
    Wait,   // 取消 sets the flag and waits for the work to stop at its next step
    LetGo,  // 取消 returns at once; the work owns all it touches and ends unseen
};

// Runs work and returns when it has ended, or at 取消 as cancel says. work
// must not touch widgets. An exception it throws is thrown again here. False
// when the teacher cancelled.
bool RunBusy(QWidget* window, const QString& text, const std::function<void(const CancelFlag&)>& work,
             BusyCancel cancel = BusyCancel::None);

// Work with a result, let go at 取消 (nothing is returned then).
template <class T>
std::optional<T> RunBusyFor(QWidget* window, const QString& text, std::function<T(const CancelFlag&)> work) {
    // The result lives as long as the work, which may outlive a cancel.
    auto result = std::make_shared<std::optional<T>>();
    if (!RunBusy(window, text, [result, work = std::move(work)](const CancelFlag& c) { *result = work(c); },
                 BusyCancel::LetGo))
        return std::nullopt;
    return std::move(*result);
}

// How long the window waits before it shows what is going on, in milliseconds.
constexpr int kBusyDialogDelayMs = 1000;
// Work done within this long never turns the event loop: too short to see.
constexpr int kQuietWaitMs = 100;
