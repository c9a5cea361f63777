// Loading the main window's embedded skin (flag, inflate, parse, key colour,
// link resolution) against a bare zlib inflate of the same bytes.
#include "component_stream.h"
#include "median_reporter.h"
#include "shuffled_runs.h"
#include "skin_engine.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
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

// Each side runs as short repetitions shuffled among the other's (see main)
// and is judged by its median, so a host that slows down for a while slows
// both alike.
void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->MinTime(0.05)->Repetitions(25)->ReportAggregatesOnly(true);
}

void BM_BareInflate(benchmark::State& state) {
    const QByteArray& s = EmbeddedStream();
    for (auto _ : state) benchmark::DoNotOptimize(BareInflate(s, Buffer()));
    state.SetBytesProcessed(state.iterations() * s.size());
}
BENCHMARK(BM_BareInflate)->Apply(Repeated);

void BM_LoadEmbeddedSkin(benchmark::State& state) {
    const QByteArray& s = EmbeddedStream();
    for (auto _ : state) LoadSkin(s);
    state.SetBytesProcessed(state.iterations() * s.size());
}
BENCHMARK(BM_LoadEmbeddedSkin)->Apply(Repeated);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitializeShuffled(argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto load = reporter.perIteration.find("BM_LoadEmbeddedSkin");
    const auto bare = reporter.perIteration.find("BM_BareInflate");
    if (load != reporter.perIteration.end() && bare != reporter.perIteration.end() && bare->second.real > 0)
        std::printf("skin load: ours %.0f us, baseline %.0f us, ratio %.2f (medians of 25 shuffled repetitions)\n",
                    load->second.real, bare->second.real, load->second.real / bare->second.real);
    return 0;
}
