#pragma once
// Reading the font configuration and listing the installed fonts takes a few
// milliseconds, the largest single piece of start-up. A thread of its own
// does it while the toolkit starts and the window is set up, so the first
// control to ask for a font finds the configuration read, and the first text
// measured finds the list made.
#include <condition_variable>
#include <mutex>
#include <pthread.h>
#include <sched.h>

class FontPreparation {
public:
    // Starts at once: the font configuration needs no toolkit.
    FontPreparation();
    // Joins; the font list is made only if the application was ready.
    ~FontPreparation();
    FontPreparation(const FontPreparation&) = delete;
    FontPreparation& operator=(const FontPreparation&) = delete;

    // The toolkit's application object exists: the toolkit's own list of
    // fonts can be made now.
    void ApplicationReady();
    // Until fontconfig's configuration is loaded, enough for FamilyInstalled
    // to answer for a family fontconfig does not know.
    void WaitForConfiguration();
    // Until the toolkit's list is made too (or the thread gave up); before
    // the application object goes.
    void Wait();

private:
    enum class Step { Waiting, Ready, Abandoned };
    void Run();
    void Tell(Step step);

    std::mutex mutex_;
    std::condition_variable changed_;
    Step step_ = Step::Waiting;
    bool configured_ = false;
    cpu_set_t allowed_;
    bool pinned_ = false;
    pthread_t thread_{};
    bool running_ = false;
};
