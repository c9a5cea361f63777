#include "autosave.h"

#include "atomic_file.h"
#include "recovery_slot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

// Writes the latest bytes asked for, skipping any that a later request
// replaced while the disk was busy.
class RecoveryWriter {
public:
    explicit RecoveryWriter(QString path) : path_(std::move(path)), thread_([this] { Run(); }) {}
    ~RecoveryWriter() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    // The file is to hold bytes; nothing removes it.
    void Put(std::optional<QByteArray> bytes) {
        {
            std::lock_guard lock(m_);
            pending_ = std::move(bytes);
            ++requested_;
        }
        cv_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return done_ == requested_; });
    }

private:
    void Run() {
        std::unique_lock lock(m_);
        for (;;) {
            cv_.wait(lock, [this] { return stop_ || done_ != requested_; });
            if (done_ == requested_) return;  // stopping with nothing left to do
            const quint64 taken = requested_;
            const std::optional<QByteArray> bytes = std::move(pending_);
            lock.unlock();
            Do(bytes);
            lock.lock();
            done_ = taken;
            cv_.notify_all();
        }
    }
    void Do(const std::optional<QByteArray>& bytes) {
        if (!bytes) {
            QFile::remove(path_);
            return;
        }
        try {
            WriteFileAtomically(path_, *bytes);
        } catch (const EFileWriteError& e) {
            // The class on screen is untouched; the next change tries again.
            std::fprintf(stderr, "markwise: recovery file not written: %s\n", e.what());
        }
    }

    QString path_;
    std::mutex m_;
    std::condition_variable cv_;
    std::optional<QByteArray> pending_;
    quint64 requested_ = 0, done_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

TAutosave::TAutosave(std::unique_ptr<TRecoverySlot> slot, Snapshot snapshot, QObject* parent)
    : QObject(parent), slot_(std::move(slot)), snapshot_(std::move(snapshot)),
      writer_(std::make_unique<RecoveryWriter>(slot_->Path())) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    // Everything the teacher changes comes after some input; the class is
    // looked at a moment after any, wherever it went.
    QCoreApplication::instance()->installEventFilter(this);
}

TAutosave::~TAutosave() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool TAutosave::eventFilter(QObject*, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::TouchEnd: Touched(); break;
    default: break;
    }
    return false;
}

void TAutosave::Touched() {
    // Not pushed back by more typing: within a second of the first change.
    if (!finished_ && !timer_.isActive()) timer_.start();
}

void TAutosave::Check() {
    if (finished_) return;
    std::optional<QByteArray> now = snapshot_();
    if (now == last_) return;
    last_ = now;
    writer_->Put(std::move(now));
}

void TAutosave::Flush() {
    timer_.stop();
    Check();
    writer_->Wait();
}

void TAutosave::Finish() {
    timer_.stop();
    finished_ = true;
    writer_->Put(std::nullopt);
    writer_->Wait();
}
