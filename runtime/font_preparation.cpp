#include "font_preparation.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <sched.h>

FontPreparation::FontPreparation() {
    // A new thread tends to wait on the core of the thread that made it until
    // that one pauses, which at start-up is too late: it starts on another
    // core, and may go anywhere once it runs.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    const int here = sched_getcpu();
    if (here >= 0 && sched_getaffinity(0, sizeof allowed_, &allowed_) == 0 && CPU_COUNT(&allowed_) > 1) {
        cpu_set_t others = allowed_;
        CPU_CLR(here, &others);
        pinned_ = pthread_attr_setaffinity_np(&attr, sizeof others, &others) == 0;
    }
    running_ = pthread_create(&thread_, &attr, [](void* self) -> void* {
        auto* me = static_cast<FontPreparation*>(self);
        if (me->pinned_) pthread_setaffinity_np(pthread_self(), sizeof me->allowed_, &me->allowed_);
        me->Run();
        return nullptr;
    }, this) == 0;
    pthread_attr_destroy(&attr);
}

FontPreparation::~FontPreparation() {
    Tell(Step::Abandoned);
    Wait();
}

void FontPreparation::Run() {
    // Safe beside the toolkit: whoever comes second finds the configuration
    // loaded (or, racing, loads a copy that is dropped).
    FcInit();
    std::unique_lock lock(mutex_);
    configured_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return step_ != Step::Waiting; });
    if (step_ == Step::Abandoned) return;
    lock.unlock();
    // The toolkit guards its font database with a lock of its own; this
    // fills it from the configuration loaded above.
    (void)QFontDatabase::families();
}

void FontPreparation::Tell(Step step) {
    {
        std::lock_guard lock(mutex_);
        if (step_ != Step::Waiting) return;
        step_ = step;
    }
    changed_.notify_all();
}

void FontPreparation::ApplicationReady() { Tell(Step::Ready); }

void FontPreparation::WaitForConfiguration() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return configured_ || !running_; });
}

void FontPreparation::Wait() {
    if (running_) pthread_join(thread_, nullptr);
    running_ = false;
}
