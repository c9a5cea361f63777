#pragma once
// Recovery files: each running copy of the program keeps its unsaved class in
// root/N.mwclass, and holds a lock on root/N.lock while it runs. The kernel
// lets go of a dead copy's lock by itself, so a recovery file whose lock is
// free belongs to a copy that ended without a clean exit: work to offer back.
#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

// The folder the recovery files live in ($XDG_DATA_HOME/markwise/recovery).
QString DefaultRecoveryRoot();

// A recovery file left by a copy that is gone, locked while it is looked at,
// so no other copy starting now offers it too.
class TLeftRecovery {
public:
    TLeftRecovery(QString path, int lockFd, QDateTime written);
    ~TLeftRecovery();
    TLeftRecovery(const TLeftRecovery&) = delete;
    TLeftRecovery& operator=(const TLeftRecovery&) = delete;
    const QString& Path() const { return path_; }
    const QDateTime& Written() const { return written_; }
    // In this copy's own slot: the recovery file this copy writes next.
    bool Own() const { return lockFd_ < 0; }
    // The work is restored or declined: the file goes.
    void Remove();

private:
    QString path_;
    int lockFd_;  // -1 when it is this copy's own slot, held by the slot
    QDateTime written_;
};

class TRecoverySlot {
public:
    // The first slot under root no running copy holds; nullptr when none can
    // be had (no folder can be made there, or 64 copies run).
    static std::unique_ptr<TRecoverySlot> Claim(const QString& root);
    ~TRecoverySlot();
    TRecoverySlot(const TRecoverySlot&) = delete;
    TRecoverySlot& operator=(const TRecoverySlot&) = delete;

    // This copy's recovery file.
    const QString& Path() const { return path_; }
    // Recovery files of copies that are gone, newest first. This copy's own
    // slot counts when a dead copy left its file there.
    std::vector<std::unique_ptr<TLeftRecovery>> Left() const;

private:
    TRecoverySlot(QString root, int number, int lockFd);
    QString root_, path_;
    int number_;
    int lockFd_;
};
