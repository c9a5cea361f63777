#pragma once
// Starts Google Benchmark with the repetitions of all benchmarks shuffled
// among each other, so a host that slows down for a while slows every side
// of a comparison alike instead of the one that happens to be running.
#include <benchmark/benchmark.h>
#include <vector>

inline void InitializeShuffled(int argc, char** argv) {
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static std::vector<char*> args;
    args.assign(argv, argv + argc);
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
}
