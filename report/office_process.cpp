#include "office_process.h"

#include "word.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <thread>
#include <fcntl.h>
#include <locale.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace office {

namespace {

std::string Value(const std::vector<std::string>& env, const std::string& name) {
    for (const auto& e : env)
        if (e.size() > name.size() && e.compare(0, name.size() + 1, name + "=") == 0) return e.substr(name.size() + 1);
    return {};
}

void Erase(std::vector<std::string>& env, const std::string& name) {
    std::erase_if(env, [&](const std::string& e) { return e.compare(0, name.size() + 1, name + "=") == 0; });
}

void Put(std::vector<std::string>& env, const std::string& name, const std::string& value) {
    Erase(env, name);
    env.push_back(name + "=" + value);
}

bool IsUtf8(const std::string& locale) {
    const auto dot = locale.find('.');
    if (dot == std::string::npos) return false;
    std::string codeset;
    for (char c : locale.substr(dot + 1, locale.find('@', dot) - dot - 1))
        if (c != '-') codeset += char(std::tolower(static_cast<unsigned char>(c)));
    return codeset == "utf8";
}

bool Exists(const std::string& locale) {
    locale_t l = newlocale(LC_CTYPE_MASK, locale.c_str(), locale_t(0));
    if (!l) return false;
    freelocale(l);
    return true;
}

// The parent-death signal follows the thread that forked, not the process:
// an office started from a worker thread would be killed when that thread
// ends. Every fork happens on this thread, which lives as long as the program.
class Spawner {
public:
    static Spawner& Instance() {
        static Spawner* s = new Spawner;  // never destroyed: its thread runs to the end
        return *s;
    }
    template <typename F>
    auto Run(F f) -> decltype(f()) {
        if (std::this_thread::get_id() == id_) return f();
        std::packaged_task<decltype(f())()> task(std::move(f));
        auto result = task.get_future();
        {
            std::lock_guard lock(m_);
            tasks_.emplace_back([&task] { task(); });
        }
        cv_.notify_one();
        return result.get();
    }

private:
    Spawner() {
        std::thread t([this] {
            for (;;) {
                std::function<void()> task;
                {
                    std::unique_lock lock(m_);
                    cv_.wait(lock, [this] { return !tasks_.empty(); });
                    task = std::move(tasks_.front());
                    tasks_.pop_front();
                }
                task();
            }
        });
        id_ = t.get_id();
        t.detach();
    }
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> tasks_;
    std::thread::id id_;
};

// Forks; the child becomes the office. It says through ready[1] why exec
// failed; the pipe closes at exec, after setsid, so the office's group exists
// once the parent has read it.
pid_t ForkOffice(std::vector<char*>& argv, std::vector<char*>& envp, const int ready[2], pid_t parent) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    close(ready[0]);
    setsid();
    // Should the program die without ending it (a crash, a kill), the office
    // ends at once rather than run on unseen: nobody could reach it any more.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
    }
    signal(SIGPIPE, SIG_DFL);
    execve(argv[0], argv.data(), envp.data());
    const int err = errno;
    (void)!write(ready[1], &err, sizeof err);
    _exit(127);
}

}  // namespace

std::vector<std::string> WithUtf8Locale(std::vector<std::string> env) {
    std::string all = Value(env, "LC_ALL"), ctype = Value(env, "LC_CTYPE"), lang = Value(env, "LANG");
    const std::string effective = !all.empty() ? all : !ctype.empty() ? ctype : !lang.empty() ? lang : "C";
    if (IsUtf8(effective)) return env;
    if (!all.empty()) {
        // LC_ALL would override the character type; its language goes on as LANG.
        Erase(env, "LC_ALL");
        Put(env, "LANG", all);
    }
    const std::string base = effective.substr(0, effective.find_first_of(".@"));
    const std::string utf8 = base + ".UTF-8";
    Put(env, "LC_CTYPE", base != "C" && base != "POSIX" && Exists(utf8) ? utf8 : "C.UTF-8");
    return env;
}

Process& Process::Instance() {
    static Process p;
    return p;
}

void Process::Start(const QString& program, const QStringList& args) {
    std::lock_guard lock(m_);
    if (Running()) return;
    std::vector<QByteArray> store;
    store.push_back(QFile::encodeName(program));
    for (const QString& a : args) store.push_back(a.toUtf8());
    std::vector<char*> argv;
    for (auto& s : store) argv.push_back(s.data());
    argv.push_back(nullptr);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env = WithUtf8Locale(std::move(env));
    // What the office's own start script would have set.
    if (std::none_of(env.begin(), env.end(), [](const std::string& e) { return e.rfind("SAL_ENABLE_FILE_LOCKING=", 0) == 0; }))
        env.emplace_back("SAL_ENABLE_FILE_LOCKING=1");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) throw EWordError(QStringLiteral("pipe failed"));
    const pid_t parent = getpid();
    const pid_t pid = Spawner::Instance().Run([&] { return ForkOffice(argv, envp, ready, parent); });
    if (pid < 0) {
        close(ready[0]);
        close(ready[1]);
        throw EWordError(QStringLiteral("fork failed"));
    }
    close(ready[1]);
    int err = 0;
    ssize_t n;
    do n = read(ready[0], &err, sizeof err);
    while (n < 0 && errno == EINTR);
    close(ready[0]);
    if (n == sizeof err) {
        waitpid(pid, nullptr, 0);
        throw EWordError(QStringLiteral("cannot run %1: %2").arg(program, QString::fromLocal8Bit(strerror(err))));
    }
    pid_ = group_ = pid;
    exitCode_ = 0;
}

void Process::Reaped(int status) {
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = 0;
}

bool Process::Running() {
    std::lock_guard lock(m_);
    if (pid_ > 0) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) Reaped(status);
        else if (r < 0) pid_ = 0;  // not our child any more
    }
    // The starter may end while the office it started goes on in the same
    // group; the office runs as long as its group has a member.
    if (group_ > 0 && kill(-group_, 0) != 0) group_ = 0;
    return group_ > 0;
}

void Process::End(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (Running() && clock.elapsed() < timeoutMs) QThread::msleep(5);
    pid_t group;
    {
        std::lock_guard lock(m_);
        group = group_;
        if (group > 0) kill(-group, SIGKILL);
        if (pid_ > 0) {
            int status = 0;
            if (waitpid(pid_, &status, 0) == pid_) Reaped(status);
        }
    }
    // Members the kill took are reaped by their new parent; wait until they are gone.
    while (group > 0 && kill(-group, 0) == 0 && clock.elapsed() < timeoutMs + 5000) QThread::msleep(5);
    std::lock_guard lock(m_);
    if (group_ == group) {
        group_ = 0;
        pid_ = 0;
    }
}

}  // namespace office
