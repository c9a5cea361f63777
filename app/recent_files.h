#pragma once
// The class files the teacher opened or saved last, newest first, kept in a
// small settings file ($XDG_CONFIG_HOME/markwise/recent.json) that every
// running copy reads afresh, so each shows what the others added.
#include <QString>
#include <QStringList>

class TRecentFiles {
public:
    static constexpr int kMax = 8;
    // The settings file used when none is given.
    static QString DefaultPath();
    explicit TRecentFiles(QString settingsPath = DefaultPath());

    QStringList Files() const;
    // path goes to the top; the oldest beyond kMax drop off.
    void Add(const QString& path);
    void Remove(const QString& path);
    // Forgets the files that no longer exist.
    void RemoveMissing();
    void Clear();

private:
    // ours: false when a later version of the program wrote the list.
    QStringList Read(bool* ours) const;
    void Write(const QStringList& files) const;
    QString path_;
};
