// Frame composition of the editor canvas at 1920 x 1080 with 100 icons, 20
// pictures and 5 labels. Each benchmark runs single frames as repetitions, so the
// reported median is the median time per frame.

#include "base/text.h"
#include "document/desktop_session.h"
#include "editor/canvas_state.h"
#include "editor/canvas_view.h"
#include "editor/frame_renderer.h"
#include "editor/korean_fonts.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <cstdlib>

namespace {

using namespace vodirev;

QImage MakeIcon(int seed) {
    QImage icon(64, 64, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));  // magenta surround
    QPainter painter(&icon);
    painter.setBrush(QColor::fromHsv((seed * 37) % 360, 180, 230));
    painter.drawRoundedRect(6, 10, 52, 44, 6, 6);
    return icon;
}

QImage MakePicture(int seed) {
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(QColor::fromHsv((seed * 53) % 360, 120, 200));
    QPainter painter(&picture);
    painter.fillRect(0, 0, 20, 20, QColor(255, 0, 255));
    return picture;
}

DesktopSession& Scene() {
    static DesktopSession session = [] {
        DesktopSession s;
        s.m_nResWidth = 1920;
        s.m_nResHeight = 1080;
        QImage background(1600, 1000, QImage::Format_RGB32);
        {
            QPainter painter(&background);
            QLinearGradient gradient(0, 0, 1600, 1000);
            gradient.setColorAt(0, QColor(20, 50, 110));
            gradient.setColorAt(1, QColor(110, 160, 60));
            painter.fillRect(background.rect(), gradient);
        }
        s.m_desktop.m_imgBackground = background;
        for (int i = 0; i < 20; ++i) {
            CInfoUserImage picture;
            picture.m_nX = 80 * i;
            picture.m_nY = 700 + (i % 3) * 40;
            picture.m_pBitmap = MakePicture(i);
            s.m_desktop.m_arrUserImage.push_back(picture);
        }
        for (int i = 0; i < 100; ++i) {
            CInfoFolder folder;
            folder.m_nType = 2;
            folder.m_pBitmap = MakeIcon(i);  // every icon its own bitmap: the worst case
            const int x = 40 + (i % 20) * 92;
            const int y = 20 + (i / 20) * 120;
            folder.m_rcItem = {x, y, x + 64, y + 64};
            folder.m_strTitle = toCp949(QStringLiteral("바로가기 %1").arg(i));
            folder.m_bShow = 1;
            s.m_desktop.m_arrFolder.push_back(folder);
        }
        for (int slot = 0; slot < kLabelSlots; ++slot) {
            CInfoLabel& label = s.m_desktop.m_label[slot];
            label.m_nX = 200 + slot * 300;
            label.m_nY = 620;
            label.m_strText = toCp949(QStringLiteral("문구수정 선택해 주세요\n둘째 줄"));
            label.m_nHeight = -24;
            label.m_nWeight = 400;
            label.m_szFont = toCp949(QStringLiteral("굴림체"));
            label.CreateFont();
            s.m_desktop.m_bLabelUsed[slot] = 1;
            s.m_desktop.m_crLabel[slot] = 0x00FFFFFF;
        }
        QImage launcher(800, 60, QImage::Format_RGB32);
        launcher.fill(QColor(60, 60, 60));
        s.m_pLauncherBitmap = launcher;
        s.m_nLauncherX = 560;
        s.m_nLauncherY = 1040;
        return s;
    }();
    return session;
}

// A pointer moving over the icons, as while hovering or dragging.
CanvasState StateFor(int frame) {
    CanvasState state;
    state.m_nHoverFolder = frame % 100;
    state.m_ptMouse = QPoint(100 + frame % 50, 300);
    return state;
}

void BM_FrameCached(benchmark::State& st) {
    static FrameRenderer renderer;
    static QImage frame;
    static int n = 0;
    renderer.RenderFrameInto(frame, Scene(), StateFor(n++));  // warm
    for (auto _ : st) {
        renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FrameCached)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// A new image every frame (what a caller that keeps the previous frame gets).
void BM_FrameCachedNewImage(benchmark::State& st) {
    static FrameRenderer renderer;
    static int n = 0;
    renderer.RenderFrame(Scene(), StateFor(n++));
    for (auto _ : st) {
        QImage frame = renderer.RenderFrame(Scene(), StateFor(n++));
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FrameCachedNewImage)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The fitted view on a 1366 x 768 screen: the frame composed as above, then scaled
// smoothly to 1316 x 768, as every paint of the window does.
void BM_FittedFrame(benchmark::State& st) {
    static FrameRenderer renderer;
    static QImage frame;
    static int n = 0;
    CanvasView view;
    view.SetFrameSize(QSize(1920, 1080 + kToolbarHeight));
    view.SetAvailableSize(QSize(1366, 768));
    renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
    for (auto _ : st) {
        renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
        QImage scaled = view.ScaledFrame(frame);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_FittedFrame)
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The background scaled again every frame; keyed bitmaps still cached.
void BM_FrameRescaleBackground(benchmark::State& st) {
    static FrameRenderer renderer;
    static QImage frame;
    static int n = 0;
    renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
    for (auto _ : st) {
        renderer.DropBackgroundCache();
        renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FrameRescaleBackground)
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Nothing cached: background scaled and every bitmap keyed each frame.
void BM_FrameNoCache(benchmark::State& st) {
    static FrameRenderer renderer;
    static QImage frame;
    static int n = 0;
    for (auto _ : st) {
        renderer.ClearCaches();
        renderer.RenderFrameInto(frame, Scene(), StateFor(n++));
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FrameNoCache)
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The client-PC view for the preview.
void BM_DesktopView(benchmark::State& st) {
    static FrameRenderer renderer;
    renderer.RenderDesktop(Scene());
    for (auto _ : st) {
        QImage desktop = renderer.RenderDesktop(Scene());
        benchmark::DoNotOptimize(desktop.constBits());
    }
}
BENCHMARK(BM_DesktopView)
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// One icon's title, or one label, of the scene replaced by a text of 5 MB; beside
// it the same frame with the usual texts, measured in the same run. Only what can
// reach the canvas is laid out, so the huge text costs about what a short one does.
DesktopSession& HugeTextScene(bool title) {
    static DesktopSession scenes[2] = {Scene(), Scene()};
    DesktopSession& s = scenes[title ? 1 : 0];
    static bool made[2] = {false, false};
    if (!made[title ? 1 : 0]) {
        made[title ? 1 : 0] = true;
        const std::string unit = toCp949(QStringLiteral("바로가기 icon "));
        std::string text;
        while (text.size() < 5 * 1024 * 1024) {
            text += unit;
        }
        if (title) {
            s.m_desktop.m_arrFolder[42].m_strTitle = text;
        } else {
            s.m_desktop.m_label[2].m_strText = text;
        }
    }
    return s;
}

void RenderRepeatedly(benchmark::State& st, DesktopSession& session) {
    FrameRenderer renderer;
    QImage frame;
    int n = 0;
    renderer.RenderFrameInto(frame, session, StateFor(n++));  // warm
    for (auto _ : st) {
        renderer.RenderFrameInto(frame, session, StateFor(n++));
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void BM_FrameUsualTexts(benchmark::State& st) {
    RenderRepeatedly(st, Scene());
}
void BM_FrameTitleOf5MB(benchmark::State& st) {
    RenderRepeatedly(st, HugeTextScene(true));
}
void BM_FrameLabelOf5MB(benchmark::State& st) {
    RenderRepeatedly(st, HugeTextScene(false));
}
BENCHMARK(BM_FrameUsualTexts)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameTitleOf5MB)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameLabelOf5MB)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
