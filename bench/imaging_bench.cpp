// The editor's resampler beside Qt's smooth scaling on the same pictures.

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <random>

#include "imaging/scale_bitmap.h"

namespace {

QImage Photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 rng(w * 7919 + h);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x] = 0xFF000000u | (rng() & 0xFFFFFFu);
        }
    }
    return image;
}

void BM_ScaleBitmap(benchmark::State& state) {
    const QImage source = Photo(state.range(0), state.range(1));
    for (auto _ : state) {
        QImage out = vodirev::ScaleBitmap(source, state.range(2), state.range(3));
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * source.width() * source.height());
}

void BM_QtSmoothScaled(benchmark::State& state) {
    const QImage source = Photo(state.range(0), state.range(1));
    for (auto _ : state) {
        QImage out = source.scaled(state.range(2), state.range(3), Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * source.width() * source.height());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "W", "H"});
    b->Args({1920, 1080, 128, 128});
    b->Args({640, 480, 64, 64});
    b->Args({64, 64, 16, 16});
    b->Args({32, 32, 64, 64});
}

BENCHMARK(BM_ScaleBitmap)->Apply(Sizes);
BENCHMARK(BM_QtSmoothScaled)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
