// What keeping a recovery copy costs the editor: one recorded step (the end of a
// drag) on a desktop of 500 icons with and without the copy kept, and the copy's
// bytes, which the writer's thread builds, in the same run.

#include "document/desktop_session.h"
#include "editor/edit_history.h"
#include "session/recovery_copy.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using namespace vodirev;

void MakeScene(DesktopSession& s) {
    s.m_szRoomId = "room";
    s.m_nDesktop = 1;
    s.m_nResWidth = 1920;
    s.m_nResHeight = 1080;
    for (int i = 0; i < 500; ++i) {
        CInfoFolder folder;
        folder.m_nType = 2;
        folder.m_szImage = "images\\bkicons\\64X64_1.gif";
        folder.m_strTitle = "program " + std::to_string(i);
        folder.m_strLink = "C:\\Games\\program.exe";
        const int x = 5 + (i % 25) * 76;
        const int y = 5 + (i / 25) * 52;
        folder.m_rcItem = {x, y, x + 64, y + 64};
        s.m_desktop.m_arrFolder.push_back(folder);
        s.m_arrMenu.push_back({i % 10, "images\\icons\\app.png", "app", "C:\\app", "app.exe", ""});
    }
}

// A drag's end: icon 0 moved one pixel, recorded as one step.
void RecordSteps(benchmark::State& st, bool keepCopy) {
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());
    {
        DesktopSession session;
        MakeScene(session);
        EditHistory history(session);
        std::optional<RecoveryKeeper> keeper;
        if (keepCopy) {
            keeper.emplace(session, history);
            keeper->Start();
        }
        int n = 0;
        for (auto _ : st) {
            history.Record("drag", [&] { session.m_desktop.m_arrFolder[0].m_rcItem.left = ++n; });
        }
    }
    QDir::setCurrent(previous);
}
void BM_RecordStepToday(benchmark::State& st) {
    RecordSteps(st, false);
}
void BM_RecordStepKeepingRecoveryCopy(benchmark::State& st) {
    RecordSteps(st, true);
}
BENCHMARK(BM_RecordStepToday)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordStepKeepingRecoveryCopy)->Unit(benchmark::kMicrosecond);

void BM_BuildRecoveryCopyOnWriterThread(benchmark::State& st) {
    DesktopSession session;
    MakeScene(session);
    const DocumentState state = CaptureDocument(session);
    for (auto _ : st) {
        benchmark::DoNotOptimize(BuildRecoveryCopy(state, "room", 1));
    }
}
BENCHMARK(BM_BuildRecoveryCopyOnWriterThread)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
