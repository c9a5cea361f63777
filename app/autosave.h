#pragma once
// Autosave: about a second after the teacher touches the program, the class
// on screen is compared with what was last kept, and unsaved work is written
// to this copy's recovery file. The window only builds the bytes; a thread of
// its own writes them (atomically, so a crash mid-write leaves the previous
// recovery file), so the window never waits on the disk.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class TRecoverySlot;
class RecoveryWriter;

class TAutosave : public QObject {
public:
    // What the recovery file should hold now; nothing when there is no
    // unsaved work (the file then goes).
    using Snapshot = std::function<std::optional<QByteArray>()>;

    TAutosave(std::unique_ptr<TRecoverySlot> slot, Snapshot snapshot, QObject* parent = nullptr);
    ~TAutosave() override;

    const TRecoverySlot& Slot() const { return *slot_; }
    // Something may have changed: looked at within a second.
    void Touched();
    // Looks now, and returns once what it found is on the disk.
    void Flush();
    // A clean end: no recovery file is left. Nothing is written after this.
    void Finish();

    static constexpr int kDelayMs = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Check();
    std::unique_ptr<TRecoverySlot> slot_;
    Snapshot snapshot_;
    std::unique_ptr<RecoveryWriter> writer_;
    QTimer timer_;
    std::optional<QByteArray> last_;  // what the file holds (or is about to)
    bool finished_ = false;
};
