#pragma once
// The class on screen as a document: the class file it belongs to, and what
// it held when it was last saved or opened, so the program knows when there
// is work the teacher would lose.
#include "class_data.h"

#include <QString>

class TClassDocument {
public:
    // The class file, or empty for a class that was never saved.
    const QString& FileName() const { return fileName_; }
    // now has something that was not saved.
    bool Modified(const ClassData& now) const { return unsaved_ || now != kept_; }

    // now was just saved to, or opened from, path.
    void Kept(const QString& path, const ClassData& now) {
        fileName_ = path;
        kept_ = now;
        unsaved_ = false;
    }
    // A class of its own begins with now, in no file: what it holds is
    // nothing the teacher typed (the start, a reset).
    void Began(const ClassData& now) { Kept(QString(), now); }
    // The class is a new one that no file holds yet (an import): it is
    // unsaved until saved, and a save never goes to the file it replaced.
    void Detach() { fileName_.clear(); }
    // Work brought back after a crash: unsaved whatever it holds, and
    // saved by default where it belonged.
    void Restored(const QString& path) {
        fileName_ = path;
        unsaved_ = true;
    }

private:
    QString fileName_;
    ClassData kept_;
    bool unsaved_ = false;
};
