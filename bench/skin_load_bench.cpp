// Loading the main window's embedded skin (flag, inflate, parse, key colour,
// link resolution) against a bare zlib inflate of the same bytes.
#include "component_stream.h"
#include "skin_engine.h"

#include <QFile>
#include <QGuiApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <vector>
#include <zlib.h>

namespace {

const QByteArray& EmbeddedStream() {
    static const QByteArray bytes = [] {
        QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/form1.form"));
        if (!f.open(QIODevice::ReadOnly)) return QByteArray();
        for (const ComponentData& c : ReadComponentText(f.readAll()).children)
            if (c.name == QLatin1String("SkSkinEngine1"))
                if (const PropEntry* p = c.Find(QStringLiteral("SkinStream"))) return p->value.bin;
        return QByteArray();
    }();
    return bytes;
}

// What the engine has to do at least: inflate after the flag and signature.
std::size_t BareInflate(const QByteArray& s, std::vector<unsigned char>& out) {
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(s.constData() + 5));
    z.avail_in = uInt(s.size() - 5);
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    inflate(&z, Z_FINISH);
    const std::size_t n = z.total_out;
    inflateEnd(&z);
    return n;
}

void LoadSkin(const QByteArray& s) {
    TSkSkinEngine engine(nullptr);
    engine.BeginLoading();
    engine.SetSkinStream(s);
    benchmark::DoNotOptimize(engine.Source().ObjectCount());
}

std::vector<unsigned char>& Buffer() {
    static std::vector<unsigned char> out(64 * 1024 * 1024);
    return out;
}

void BM_BareInflate(benchmark::State& state) {
    const QByteArray& s = EmbeddedStream();
    for (auto _ : state) benchmark::DoNotOptimize(BareInflate(s, Buffer()));
    state.SetBytesProcessed(state.iterations() * s.size());
}
BENCHMARK(BM_BareInflate)->Unit(benchmark::kMicrosecond);

void BM_LoadEmbeddedSkin(benchmark::State& state) {
    const QByteArray& s = EmbeddedStream();
    for (auto _ : state) LoadSkin(s);
    state.SetBytesProcessed(state.iterations() * s.size());
}
BENCHMARK(BM_LoadEmbeddedSkin)->Unit(benchmark::kMicrosecond);

// The medians of the last ratio run, for the summary line.
double gLoadUs = 0, gInflateUs = 0;

// Both interleaved in one run; the ratio of the medians is the figure that counts.
void BM_LoadToInflateRatio(benchmark::State& state) {
    const QByteArray& s = EmbeddedStream();
    using clock = std::chrono::steady_clock;
    std::vector<double> load, bare;
    for (auto _ : state) {
        for (int k = 0; k < 25; ++k) {
            auto t0 = clock::now();
            benchmark::DoNotOptimize(BareInflate(s, Buffer()));
            auto t1 = clock::now();
            LoadSkin(s);
            auto t2 = clock::now();
            bare.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            load.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        }
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    gInflateUs = median(bare);
    gLoadUs = median(load);
    state.counters["inflate_us"] = gInflateUs;
    state.counters["load_us"] = gLoadUs;
    state.counters["ratio"] = gLoadUs / gInflateUs;
}
BENCHMARK(BM_LoadToInflateRatio)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gInflateUs > 0)
        std::printf("skin load: ours %.0f us, baseline %.0f us, ratio %.2f\n", gLoadUs, gInflateUs, gLoadUs / gInflateUs);
    return 0;
}
