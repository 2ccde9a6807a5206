// The whole save of the demo room (desktop 1 of room "demo") against the reference
// server on loopback: title query, layout and lists, the upload pass, the desktop's
// own files, preview, registration and synchronisation. Each run starts from a
// fresh copy of the demo data and a fresh start-up (not timed). The counters split
// the time into the protocol's own pauses (100 ms before every query and upload,
// 10 ms after every full 1000-byte write) and the rest.

#include "bench_util.h"
#include "editor/edit_history.h"
#include "editor/frame_renderer.h"
#include "server/reference_server.h"
#include "server/save_publish.h"
#include "session/startup_sequence.h"

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

// Resident memory of the process in KiB.
double residentKib() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4.0 : 0;
}

// 100 edits of the demo room (each moves one icon), each recorded as one step of
// undo history; 0: the same edits without history (the baseline). The counters give
// the bytes the 100 steps hold and the growth of resident memory.
void BM_HundredUndoSteps(benchmark::State& state) {
    const bool recorded = state.range(0) != 0;
    bench::FreshDemo demo(VODIREV_DEMO_ROOT, VODIREV_BKICONS);
    if (!demo.ok()) {
        state.SkipWithError("no demo data or server");
        return;
    }
    DesktopSession loaded;
    CServerClient client;
    client.SetPauseFunction([](int) {});
    RunStartupSequence(loaded, client, "demo 1 0");
    double heldKib = 0;
    double residentGrowthKib = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DesktopSession session = loaded;
        auto history = std::make_unique<EditHistory>(session);
        const double residentBefore = residentKib();
        auto& icons = session.m_desktop.m_arrFolder;
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            const auto move = [&] {
                CInfoFolder& icon = icons[std::size_t(i) % icons.size()];
                icon.m_nX += 1;
                icon.m_rcItem.left += 1;
                icon.m_rcItem.right += 1;
            };
            if (recorded) {
                history->Record(QString(), move);
            } else {
                move();
            }
        }
        state.PauseTiming();
        heldKib = double(history->HistoryBytes()) / 1024.0;
        residentGrowthKib = residentKib() - residentBefore;
        history.reset();
        state.ResumeTiming();
    }
    state.counters["history_kib"] = heldKib;
    state.counters["resident_growth_kib"] = residentGrowthKib;
}
BENCHMARK(BM_HundredUndoSteps)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
