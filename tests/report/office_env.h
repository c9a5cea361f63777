#pragma once
// Every test process gets its own office pipe and profile, so tests can run
// side by side and never touch a real user's office.
#include "report.h"

#include <QList>
#include <QString>

namespace testoffice {
// The folder all files of this process go to (removed at exit).
QString Dir();
QString Path(const QString& name);
// The template resource written to a file.
QString WriteTemplate(const QString& name);
// Ends an office left listening on this process's pipe.
void EndOffice();
// Kills the office process group started for app.
void KillOffice(qint64 pid);
QByteArray Bytes(const QString& path);
// Every entry of a folder, hidden ones too: what a run leaves behind.
QStringList Listing(const QString& dir);
void WriteFile(const QString& path, const QByteArray& bytes);
// True while a process runs (a zombie has ended).
bool Alive(int pid);
// Waits, bounded, until no process of the group lives; false when one still does.
bool WaitGroupGone(qint64 group);
// The office processes running on a profile folder, found by their command line.
QList<int> OfficesOn(const QString& profile);
// Waits, bounded, until a window whose title holds titlePart is shown (or gone).
bool WaitForWindow(const QString& titlePart, bool shown = true);

// Runs the helper test (a DISABLED_ test of this program) again in a mount
// namespace of its own, after the shell lines setup have run there as root
// with "$1" set to dir (exit 77 from them: the mount is not possible). The
// helper's output goes to *output. Returns false when this machine lets no
// test have such a namespace.
bool RunInMountNamespace(const QString& setup, const QString& dir, const QString& helper,
                         const QStringList& environment, QString* output, int* exitCode);
}
