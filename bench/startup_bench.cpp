// From process start to the first painted main window (its description
// loaded, the skin decoded and the frame drawn), against a minimal widgets
// program started and painted the same way. Each run is a fresh process; the
// clock stops when the program says it has painted (a byte on a pipe), so
// neither side's exit is counted.
//
// A third program draws only the first page's text in the window's
// typefaces: how much of the start-up the text alone takes, measured in the
// same run.
#include "median_reporter.h"
#include "shuffled_runs.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string g_markwise, g_minimal, g_textFloor;

constexpr int kPaintedFd = 3;

void RunToFirstPaint(benchmark::State& state, const std::string& exe) {
    std::vector<std::string> env{"MARKWISE_EXIT_AFTER_PAINT=1", "QT_QPA_PLATFORM=offscreen",
                                 "MARKWISE_PAINTED_FD=" + std::to_string(kPaintedFd)};
    for (char** e = environ; *e; ++e) {
        std::string v(*e);
        if (v.rfind("QT_QPA_PLATFORM=", 0) != 0 && v.rfind("MARKWISE_PAINTED_FD=", 0) != 0) env.push_back(v);
    }
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    for (auto _ : state) {
        int painted[2];
        if (pipe(painted) != 0) {
            state.SkipWithError("cannot make a pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The read end first: it may be the very number the write end goes to.
        posix_spawn_file_actions_addclose(&actions, painted[0]);
        posix_spawn_file_actions_adddup2(&actions, painted[1], kPaintedFd);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid;
        const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(painted[1]);
        if (spawned != 0) {
            close(painted[0]);
            state.SkipWithError("cannot start the program");
            return;
        }
        char byte = 0;
        const bool saidPainted = read(painted[0], &byte, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        close(painted[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!saidPainted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

// Short repetitions shuffled among the programs, each judged by its median,
// so a machine that slows down for a while slows every program alike.
void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(20)->ReportAggregatesOnly(true)->UseManualTime();
}

void BM_MinimalProgram(benchmark::State& state) { RunToFirstPaint(state, g_minimal); }
void BM_Markwise(benchmark::State& state) { RunToFirstPaint(state, g_markwise); }
void BM_TextAlone(benchmark::State& state) { RunToFirstPaint(state, g_textFloor); }
BENCHMARK(BM_MinimalProgram)->Apply(Repeated);
BENCHMARK(BM_Markwise)->Apply(Repeated);
BENCHMARK(BM_TextAlone)->Apply(Repeated);

}  // namespace

int main(int argc, char** argv) {
    g_markwise = MARKWISE_EXE;
    g_minimal = MINIMAL_EXE;
    g_textFloor = TEXT_FLOOR_EXE;
    InitializeShuffled(argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto median = [&](const char* name) {
        const auto found = reporter.perIteration.find(name);
        return found == reporter.perIteration.end() ? 0.0 : found->second.real;
    };
    const double ours = median("BM_Markwise"), minimal = median("BM_MinimalProgram"), text = median("BM_TextAlone");
    // The fonts set a floor: beside the minimal window, the window that draws
    // only the first page's text in the same typefaces.
    if (ours > 0 && minimal > 0 && text > 0)
        std::printf("start-up: ours %.1f ms, baseline %.1f ms, ratio %.2f; the first page's text alone %.1f ms, ratio to it %.2f\n",
                    ours, minimal, ours / minimal, text, ours / text);
    return 0;
}
