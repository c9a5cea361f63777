#pragma once
// A report in the making. A private folder beside the target holds the copy
// of the template the office fills and everything the office writes while it
// saves; the target itself is touched only by one rename at the end, so a
// failed run leaves it exactly as it was, and nothing else behind. Drafts
// of a copy that was killed in the middle are removed by the next make.
#include <QString>

class ReportDraft {
public:
    // Creates the folder; Path() is empty when that was not possible.
    explicit ReportDraft(const QString& target);
    // Removes the folder with everything in it.
    ~ReportDraft();
    ReportDraft(const ReportDraft&) = delete;
    ReportDraft& operator=(const ReportDraft&) = delete;

    // Throws EWordError, in the teacher's terms, when target cannot take a
    // report: its name is too long, or another office has it open.
    static void CheckTarget(const QString& target);

    // The document the office fills and saves.
    const QString& Path() const { return path_; }
    // Why the folder could not be made (an errno), when Path() is empty.
    int Error() const { return error_; }

    // Checks that the draft is a whole Word 97-2003 document and puts it in
    // the target's place. Throws EWordError; the target is then unchanged.
    void Commit();
    // Puts another file the office wrote into the draft folder (a PDF of
    // the report) in target's place, once the report is committed. Throws
    // EWordError; target is then unchanged.
    void CommitBeside(const QString& file, const QString& target);

private:
    QString target_;  // with links resolved: the file that is replaced
    QString folder_, path_;
    int lockFd_ = -1;
    int error_ = 0;
};
