// The editor's start-up for the demo room (desktop 1 of room "demo") against the
// reference server on loopback, with 200 program icons that exist only on the
// server: the common downloads, the exist.jsp questions, the image fetch, then the
// launcher, menus and layout. Each run starts from an empty working folder (the
// installation images only) and a fresh copy of the server's data. The counters
// give the share of the protocol's own pauses (100 ms before every query).

#include "bench_util.h"
#include "server/reference_server.h"
#include "session/startup_sequence.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace {

using namespace vodirev;
using bench::PauseLog;

constexpr int kMissingImages = 200;

// The demo room with kMissingImages more program entries, drawn once per run.
const QString& DemoRoot() {
    static QTemporaryDir dir;
    static bool made =
        QProcess::execute(
            VODIREV_ART, {"--bkicons", dir.path() + "/bkicons", "--demo-root", dir.path() + "/root",
                          "--missing-images", QString::number(kMissingImages)}) == 0;
    static const QString path = made ? dir.path() : QString();
    return path;
}

void BM_StartupDemoRoom(benchmark::State& state) {
    const bool withPauses = state.range(0) != 0;
    PauseLog log;
    int images = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto demo =
            std::make_unique<bench::FreshDemo>(DemoRoot() + "/root", DemoRoot() + "/bkicons");
        if (DemoRoot().isEmpty() || !demo->ok()) {
            state.SkipWithError("no demo data or server");
            break;
        }
        DesktopSession session;
        CServerClient client;
        client.SetPauseFunction(log.function(withPauses));
        state.ResumeTiming();

        RunStartupSequence(session, client, "demo 1 0");

        state.PauseTiming();
        images += int(QDir(demo->workPath() + "/images/icons").entryList(QDir::Files).size());
        if (session.m_arrMenu.size() < std::size_t(kMissingImages)) {
            state.SkipWithError("the menu icons did not arrive");
        }
        demo.reset();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["pause_ms"] = log.milliseconds() / runs;
    state.counters["queries"] = log.queries / runs;
    state.counters["icons_fetched"] = images / runs;
}
// 1: the protocol's pauses taken; 0: the same work without them.
BENCHMARK(BM_StartupDemoRoom)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
