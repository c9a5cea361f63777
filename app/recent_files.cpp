#include "recent_files.h"

#include "atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cstdio>

namespace {
constexpr int kVersion = 1;
constexpr qint64 kMaxBytes = 64 * 1024;

QByteArray Quoted(const QString& s) {
    // A JSON string, as the document writer escapes it.
    return QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}
}  // namespace

QString TRecentFiles::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/markwise/recent.json");
}

TRecentFiles::TRecentFiles(QString settingsPath) : path_(std::move(settingsPath)) {}

QStringList TRecentFiles::Files() const { return Read(nullptr); }

QStringList TRecentFiles::Read(bool* ours) const {
    if (ours) *ours = true;
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QJsonObject root = QJsonDocument::fromJson(f.read(kMaxBytes)).object();
    // A list a later version wrote is left alone, and shown as empty.
    if (root.value(QLatin1String("format")) == QLatin1String("markwise-recent") &&
        root.value(QLatin1String("version")).toInt() > kVersion) {
        if (ours) *ours = false;
        return {};
    }
    if (root.value(QLatin1String("version")).toInt() != kVersion) return {};
    QStringList out;
    for (const QJsonValue& v : root.value(QLatin1String("files")).toArray())
        if (v.isString() && !v.toString().isEmpty() && !out.contains(v.toString()) && out.size() < kMax)
            out << v.toString();
    return out;
}

void TRecentFiles::Write(const QStringList& files) const {
    bool ours = true;
    Read(&ours);
    if (!ours) return;
    QByteArray out = "{\n    \"format\": \"markwise-recent\",\n    \"version\": " + QByteArray::number(kVersion) +
                     ",\n    \"files\": [";
    for (qsizetype k = 0; k < files.size(); ++k) out += (k ? ",\n        " : "\n        ") + Quoted(files[k]);
    out += files.isEmpty() ? "]\n}\n" : "\n    ]\n}\n";
    try {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        WriteFileAtomically(path_, out);
    } catch (const EFileWriteError& e) {
        // Only the list is lost; the class files are where they were.
        std::fprintf(stderr, "markwise: recent files not kept: %s\n", e.what());
    }
}

void TRecentFiles::Add(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList files = Files();
    files.removeAll(file);
    files.prepend(file);
    Write(files.mid(0, kMax));
}

void TRecentFiles::Remove(const QString& path) {
    QStringList files = Files();
    if (files.removeAll(path) > 0) Write(files);
}

void TRecentFiles::RemoveMissing() {
    QStringList files = Files();
    const qsizetype before = files.size();
    files.removeIf([](const QString& f) { return !QFileInfo(f).isFile(); });
    if (files.size() != before) Write(files);
}

void TRecentFiles::Clear() { Write({}); }
