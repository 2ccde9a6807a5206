// The whole save of the demo room (desktop 1 of room "demo") against the reference
// server on loopback: title query, layout and lists, the upload pass, the desktop's
// own files, preview, registration and synchronisation. Each run starts from a
// fresh copy of the demo data and a fresh start-up (not timed). The counters split
// the time into the protocol's own pauses (100 ms before every query and upload,
// 10 ms after every full 1000-byte write) and the rest.

#include "app/startup_sequence.h"
#include "bench_util.h"
#include "editor/frame_renderer.h"
#include "server/reference_server.h"
#include "server/save_publish.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace vodirev;

using bench::PauseLog;

void BM_SaveDemoRoom(benchmark::State& state) {
    const bool withPauses = state.range(0) != 0;
    double pauseMs = 0;
    int queries = 0;
    int writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto demo = std::make_unique<bench::FreshDemo>(VODIREV_DEMO_ROOT, VODIREV_BKICONS);
        if (!demo->ok()) {
            state.SkipWithError("no demo data or server");
            break;
        }
        DesktopSession session;
        CServerClient client;
        client.SetPauseFunction([](int) {});
        RunStartupSequence(session, client, "demo 1 0");
        PauseLog log;
        client.SetPauseFunction(log.function(withPauses));
        FrameRenderer renderer;
        state.ResumeTiming();

        std::string title;
        client.QueryText(TitleQueryTarget("demo", 1), title, 512);
        const QImage preview = renderer.RenderDesktop(session);
        const SaveReport report = SaveAndPublish(session, client, "demo desktop", preview,
                                                 [&](const std::string& roomId, int desktop) {
                                                     CServerClient own;
                                                     own.SetPauseFunction(log.function(withPauses));
                                                     return UploadPass(own, roomId, desktop).Run();
                                                 });
        benchmark::DoNotOptimize(report);

        state.PauseTiming();
        if (report.HasProblems()) {
            state.SkipWithError("the save did not go through");
        }
        pauseMs += log.milliseconds();
        queries += log.queries;
        writes += log.writes;
        demo.reset();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["pause_ms"] = pauseMs / runs;
    state.counters["queries_and_uploads"] = queries / runs;
    state.counters["full_writes"] = writes / runs;
}
// 1: the protocol's pauses taken; 0: the same work without them (the overhead).
BENCHMARK(BM_SaveDemoRoom)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
