#pragma once
// Files the teacher keeps are replaced whole or not at all: the new content
// goes into a temporary file in the same folder, reaches the disk, and only
// then takes the old file's name in one rename. A failure at any step leaves
// the old file exactly as it was.
#include "exceptions.h"

#include <QByteArray>
#include <QString>

// A save that did not happen. The message says why in the teacher's terms
// on its first line; the technical detail follows on the second.
class EFileWriteError : public Exception {
public:
    EFileWriteError(int err, const QString& message) : Exception(message), err_(err) {}
    int Errno() const { return err_; }

private:
    int err_;
};

// The file a save to path replaces: path itself, or the file a symbolic
// link there points to (through every link), so that the link stays.
QString SaveTarget(const QString& path);

// Replaces path with bytes, keeping the old file's permissions. Throws
// EFileWriteError.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// A name for a temporary file beside target, hidden, that names this
// process so a later save can tell a dead one's leftovers. The file is created
// empty (mode 0600); the caller fills it and hands it to ReplaceFile.
// Throws EFileWriteError.
QString CreateTemporaryBeside(const QString& target);

// Puts the finished file written beside target in its place: flushed to the
// disk, given target's permissions, renamed over it. The finished file is
// removed on failure. Throws EFileWriteError.
void ReplaceFile(const QString& target, const QString& finished);

// The teacher's words for a failed write of errno err into path's folder.
QString WriteFailureText(int err, const QString& path);
