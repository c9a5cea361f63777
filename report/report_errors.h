#pragma once
// What the teacher reads when a report step fails: what went wrong in her
// terms on the first line, the technical detail on the second.
#include "word.h"

// The office went away in the middle of a call.
class EOfficeGone : public EWordError {
public:
    using EWordError::EWordError;
};

namespace reporterror {
EWordError OfficeNotStarted(const QString& detail);
EOfficeGone OfficeGone(const QString& detail);
EWordError OfficeFailed(const QString& detail);
EWordError DiskFull(const QString& folder, const QString& detail);
EWordError OpenElsewhere(const QString& path, const QString& detail);
EWordError NameTooLong(const QString& path);
EWordError NotWritable(const QString& folder, const QString& detail);
EWordError Missing(const QString& path);
EWordError Incomplete(const QString& detail);
// A failed file-system call on path, told by its errno.
EWordError FileError(int err, const QString& path, const QString& detail);
}  // namespace reporterror
