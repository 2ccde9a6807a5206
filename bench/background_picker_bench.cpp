// Opening the background picker on 200 backgrounds of 1920 x 1080 JPEG (our own
// pictures, made here): the first opening with cold caches, the second (thumbnails
// in memory), one from the disk cache alone (as in a new process), beside the plain
// decode and scale of the same files one by one. Each opening runs until every
// thumbnail is shown; "window_ms" is the time until the window was shown.

#include "dialogs/background_dlg.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"
#include "imaging/thumbnail_cache.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <thread>

namespace vodirev {
namespace {

constexpr int kBackgrounds = 200;

// A photo-like picture: gradients, discs and fine noise, different for every seed.
QImage Background(int seed) {
    QImage image(1920, 1080, QImage::Format_RGB32);
    quint32 noise = 0x9E3779B9u * quint32(seed + 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28);
            const int dx = x - 300 - seed * 7 % 1300, dy = y - 200 - seed * 13 % 700;
            const bool disc = dx * dx + dy * dy < 160 * 160;
            line[x] = qRgb((x / 8 + seed * 9 + n) & 0xFF, disc ? 240 - n : (y / 5 + n) & 0xFF,
                           ((x + y) / 12 + seed * 5) & 0xFF);
        }
    }
    return image;
}

struct Room {
    QTemporaryDir work;
    QTemporaryDir cacheDir;
    std::shared_ptr<ThumbnailCache> cache;
    std::vector<QString> files;

    Room() {
        QDir::setCurrent(work.path());
        QDir().mkpath("images/background");
        QByteArray lines;
        for (int i = 0; i < kBackgrounds; ++i) {
            const QByteArray name = "images\\background\\bg" + QByteArray::number(i) + ".jpg";
            lines += "0,c," + name + "," + name + "\r\n";
            files.push_back(QStringLiteral("images/background/bg%1.jpg").arg(i));
        }
        std::vector<std::thread> writers;
        for (int part = 0; part < 2; ++part) {
            writers.emplace_back([this, part] {
                for (int i = part; i < kBackgrounds; i += 2) {
                    SaveBitmapToFile(files[std::size_t(i)], Background(i));
                }
            });
        }
        for (std::thread& writer : writers) {
            writer.join();
        }
        QFile list("LIST_BACKGROUND.db");
        if (list.open(QIODevice::WriteOnly)) {
            list.write(lines);
        }
        cache = std::make_shared<ThumbnailCache>(cacheDir.path() + "/thumbnails", qint64(64) << 20);
        // The editor has shown its window before the picker opens: fonts and styles
        // are loaded once per process, not in a timed opening.
        QListWidget shown;
        shown.addItem(QStringLiteral("배경"));
        shown.show();
        QCoreApplication::processEvents();
    }

    void ForgetDisk() { QDir(cacheDir.path() + "/thumbnails").removeRecursively(); }
};

Room& TheRoom() {
    static Room room;
    return room;
}

// Opens the picker, waits until every thumbnail is shown, closes it.
void OpenUntilShown(benchmark::State& state, Room& room, double& windowMs) {
    BackgroundChoice choice;
    QElapsedTimer timer;
    timer.start();
    CBackgroundDlg dialog(choice, nullptr, room.cache);
    dialog.show();
    QCoreApplication::processEvents();
    windowMs += double(timer.nsecsElapsed()) / 1e6;
    while (dialog.PendingThumbnails() > 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();  // the last icons painted
    if (dialog.listBackground()->count() != kBackgrounds) {
        state.SkipWithError("the rows are missing");
    }
    dialog.reject();
}

void BM_PlainDecodeAndScale(benchmark::State& state) {
    Room& room = TheRoom();
    for (auto _ : state) {
        int made = 0;
        for (const QString& file : room.files) {
            made += !ScaleBitmap(LoadImageBitmap(file), 128, 128).isNull();
        }
        benchmark::DoNotOptimize(made);
    }
}
BENCHMARK(BM_PlainDecodeAndScale)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_OpenPickerFirst(benchmark::State& state) {
    Room& room = TheRoom();
    double windowMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        room.cache->ClearMemory();
        room.ForgetDisk();
        state.ResumeTiming();
        OpenUntilShown(state, room, windowMs);
    }
    state.counters["window_ms"] = windowMs / double(state.iterations());
    state.counters["cores"] = double(std::thread::hardware_concurrency());
}
BENCHMARK(BM_OpenPickerFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_OpenPickerSecond(benchmark::State& state) {
    Room& room = TheRoom();
    double windowMs = 0;
    OpenUntilShown(state, room, windowMs);  // the first opening, not timed
    windowMs = 0;
    for (auto _ : state) {
        OpenUntilShown(state, room, windowMs);
    }
    state.counters["window_ms"] = windowMs / double(state.iterations());
}
BENCHMARK(BM_OpenPickerSecond)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_OpenPickerFromDiskCache(benchmark::State& state) {
    Room& room = TheRoom();
    double windowMs = 0;
    OpenUntilShown(state, room, windowMs);  // fills the disk cache, not timed
    windowMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        room.cache->ClearMemory();
        state.ResumeTiming();
        OpenUntilShown(state, room, windowMs);
    }
    state.counters["window_ms"] = windowMs / double(state.iterations());
}
BENCHMARK(BM_OpenPickerFromDiskCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace vodirev

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen<QApplication>(argc, argv);
}
