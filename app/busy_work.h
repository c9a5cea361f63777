#pragma once
// Work that waits on a file or the office runs on a thread of its own while
// the window goes on painting: a busy pointer at once, input to the window
// held back, and past a second a progress dialog whose 取消 lets go of the
// work (which ends unseen at its next step).
#include <QString>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

// Runs work; true when it ended, false when the teacher cancelled. An
// exception thrown by work is thrown again here.
bool RunBusy(QWidget* window, const QString& text, const std::function<void(const std::atomic<bool>& cancelled)>& work);

// The same, for work with a result: nothing when cancelled.
template <class T>
std::optional<T> RunBusyFor(QWidget* window, const QString& text, std::function<T(const std::atomic<bool>&)> work) {
    // The result lives as long as the work, which may outlive a cancel.
    auto result = std::make_shared<std::optional<T>>();
    if (!RunBusy(window, text, [result, work = std::move(work)](const std::atomic<bool>& c) { *result = work(c); }))
        return std::nullopt;
    return std::move(*result);
}

// How long the window waits before it offers to cancel, in milliseconds.
constexpr int kBusyDialogDelayMs = 1000;
// Work done within this long never turns the event loop: too short to see.
constexpr int kQuietWaitMs = 100;
