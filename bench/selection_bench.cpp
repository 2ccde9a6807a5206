// Dragging on a 1920 x 1080 desktop of 500 icons: the time of one pointer move
// while a 50-item selection is dragged with snapping on, beside one move of
// today's single-icon drag (no selection, no snapping), and the selection's marks
// painted over a frame, all in the same run.

#include "document/desktop_session.h"
#include "editor/canvas_controller.h"
#include "editor/editing_marks.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QPainter>

namespace {

using namespace vodirev;

DesktopSession MakeScene() {
    DesktopSession s;
    s.m_nResWidth = 1920;
    s.m_nResHeight = 1080;
    QImage icon(64, 64, QImage::Format_RGB32);
    icon.fill(QColor(40, 120, 200));
    // 25 columns x 20 rows, 76 pixels apart across and 52 down: icons overlap
    // vertically, as crowded rooms do.
    for (int i = 0; i < 500; ++i) {
        CInfoFolder folder;
        folder.m_nType = 2;
        folder.m_pBitmap = icon;
        const int x = 5 + (i % 25) * 76;
        const int y = 5 + (i / 25) * 52;
        folder.m_rcItem = {x, y, x + 64, y + 64};
        folder.m_bShow = 1;
        s.m_desktop.m_arrFolder.push_back(folder);
    }
    return s;
}

constexpr int kStrip = kToolbarHeight;

// Pointer positions of a drag that wanders over the desktop and back.
QPoint PointerAt(QPoint press, int n) {
    const int step = n % 400;
    const int t = step < 200 ? step : 400 - step;
    return press + QPoint(t * 3, t * 2);
}

void BM_MoveSingleIconToday(benchmark::State& st) {
    DesktopSession session = MakeScene();
    CanvasState state;
    CanvasController controller(session, state);
    const QPoint press(10, 10 + kStrip);  // icon 0
    controller.OnLButtonDown(press);
    int n = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(controller.OnMouseMove(PointerAt(press, ++n)));
    }
    controller.OnLButtonUp(PointerAt(press, n));
}
BENCHMARK(BM_MoveSingleIconToday)->Unit(benchmark::kMicrosecond);

void SelectFifty(CanvasState& state) {
    for (int i = 0; i < 50; ++i) {
        state.m_selection.push_back({ItemKind::Icon, i * 10});
    }
}

void BM_MoveFiftyWithSnapping(benchmark::State& st) {
    DesktopSession session = MakeScene();
    CanvasState state;
    CanvasController controller(session, state);
    controller.SetSnapping(true);
    SelectFifty(state);
    const QPoint press(10, 10 + kStrip);  // icon 0, selected
    controller.OnLButtonDown(press);
    int n = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(controller.OnMouseMove(PointerAt(press, ++n)));
    }
    controller.OnLButtonUp(PointerAt(press, n));
}
BENCHMARK(BM_MoveFiftyWithSnapping)->Unit(benchmark::kMicrosecond);

// What the window adds to each repaint while the fifty are dragged: their marks and
// a guide over the frame.
void BM_PaintMarksOfFifty(benchmark::State& st) {
    DesktopSession session = MakeScene();
    CanvasState state;
    SelectFifty(state);
    state.m_nGuideX = 960;
    state.m_nGuideY = 540;
    QImage frame(1920, 1080 + kStrip, QImage::Format_RGB32);
    frame.fill(Qt::black);
    for (auto _ : st) {
        QPainter painter(&frame);
        PaintEditingMarks(painter, QTransform(), session, state);
    }
}
BENCHMARK(BM_PaintMarksOfFifty)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
