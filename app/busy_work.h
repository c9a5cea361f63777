#pragma once
// Work that waits on a file or the office runs off the event loop: the window
// goes on painting while it runs, the pointer shows that the program is busy,
// and input waits until the work is done. Past a second a small window says
// what is going on, with 取消 where the work can stop safely.
#include <QString>
#include <atomic>
#include <functional>

class QWidget;

// Asked by the work between its steps; set when the teacher pressed 取消.
using CancelFlag = std::atomic<bool>;

// Runs work on a thread of its own and returns when it has ended. work must
// not touch widgets. An exception it throws is thrown again here. With
// cancellable, the window offers 取消 and work is expected to look at the
// flag; returns false when it was pressed (work has ended all the same).
bool RunBusy(QWidget* owner, const QString& what, const std::function<void(const CancelFlag&)>& work,
             bool cancellable = false);
