#pragma once
// The office process of this program instance. It runs in its own process
// group (so it and its children end together), with a UTF-8 character type
// whatever the program's own locale is, and it is the only office that ever
// listens on this instance's pipe. It ends with the program however the
// program ends. Safe to use from any thread. Internal to report/.
#include <QString>
#include <QStringList>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace office {

class Process {
public:
    static Process& Instance();

    // Starts program with args unless our office runs; returns at once.
    // Throws EWordError when the process cannot be created.
    void Start(const QString& program, const QStringList& args);
    // True while any process of the office's group lives; the starter is
    // reaped when it exits.
    bool Running();
    // How the starter ended: its exit code, or -1 for a signal.
    int ExitCode() const { return exitCode_; }
    // The office's process group (the starter's id), or 0.
    pid_t Pid() const { return group_; }
    // Waits up to timeoutMs for the office to end by itself, then kills its
    // whole group. Returns at once when none runs.
    void End(int timeoutMs);

private:
    Process() = default;
    void Reaped(int status);
    std::recursive_mutex m_;
    pid_t pid_ = 0;    // the starter while it is not reaped
    pid_t group_ = 0;  // the office's process group while it has members
    int exitCode_ = 0;
};

// The environment for the office: env ("NAME=value" entries) with the
// character type made UTF-8 when it is not, keeping the language. Office file
// names are UTF-8, as ours are.
std::vector<std::string> WithUtf8Locale(std::vector<std::string> env);

}  // namespace office
