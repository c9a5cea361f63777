// From process start to the first painted main window (its description
// loaded, the skin decoded and the frame drawn), against a minimal widgets
// program started and painted the same way. Each run is a fresh process.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

std::string g_markwise, g_minimal;

void RunToFirstPaint(benchmark::State& state, const std::string& exe) {
    std::vector<std::string> env{"MARKWISE_EXIT_AFTER_PAINT=1", "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e) {
        std::string v(*e);
        if (v.rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(v);
    }
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("cannot start the program");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

void BM_MinimalProgram(benchmark::State& state) { RunToFirstPaint(state, g_minimal); }
void BM_Markwise(benchmark::State& state) { RunToFirstPaint(state, g_markwise); }
BENCHMARK(BM_MinimalProgram)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Markwise)->Unit(benchmark::kMillisecond)->Iterations(20);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_name.function_name == "BM_MinimalProgram") baseline_ = r.GetAdjustedRealTime();
            if (r.run_name.function_name == "BM_Markwise") ours_ = r.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (baseline_ > 0 && ours_ > 0)
            std::printf("start-up: ours %.1f ms, baseline %.1f ms, ratio %.2f\n", ours_, baseline_, ours_ / baseline_);
    }
private:
    double baseline_ = 0, ours_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    g_markwise = MARKWISE_EXE;
    g_minimal = MINIMAL_EXE;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}
