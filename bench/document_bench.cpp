// Reading and rewriting a layout of 500 icons that use 20 distinct pictures.
// The "decodes" counter is the number of image files decoded per read (goal: 20).

#include "base/text_file.h"
#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document/layout_writer.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

using namespace vodirev;

namespace {

constexpr int kIcons = 500;
constexpr int kPictures = 20;

// The working folder with the pictures and "desktop001.xml", made once.
class Fixture {
public:
    Fixture() {
        QDir::setCurrent(m_dir.path());
        QDir().mkpath(QStringLiteral("images/bkicons"));
        for (int i = 0; i < kPictures; ++i) {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 360 / kPictures, 200, 200));
            image.save(QStringLiteral("images/bkicons/icon%1.gif").arg(i), "PNG");
        }
        CDesktopInfo doc;
        doc.m_szBackground = "images\\bkicons\\icon0.gif";
        for (int i = 0; i < kIcons; ++i) {
            CInfoFolder icon;
            const int x = (i % 25) * 70;
            const int y = (i / 25) * 90;
            icon.m_rcItem = {x, y, x + 64, y + 64};
            icon.m_nFlag = i + 1;
            icon.m_nType = 1 + i % 2;
            icon.m_bShow = 1;
            icon.m_strTitle = "\xBB\xF5\xC6\xFA\xB4\xF5 " + std::to_string(i);
            icon.m_szImage = "images\\bkicons\\icon" + std::to_string(i % kPictures) + ".gif";
            icon.m_strLink = "http://host/app?id=" + std::to_string(i) + "&mode=1";
            doc.m_arrFolder.push_back(icon);
        }
        for (int slot = 0; slot < kLabelSlots; ++slot) {
            doc.m_bLabelUsed[slot] = 1;
            doc.m_label[slot].m_strText = "label " + std::to_string(slot);
            doc.m_label[slot].m_nHeight = -24;
            doc.m_label[slot].m_szFont = "\xB1\xBC\xB8\xB2\xC3\xBC";
        }
        WriteTextFile(QStringLiteral("desktop001.xml"), BuildLayoutText(doc, 1920, 1080, true));
    }

private:
    QTemporaryDir m_dir;
};

Fixture& Files() {
    static Fixture fixture;
    return fixture;
}

void BM_ReadLayout(benchmark::State& state) {
    Files();
    int decodes = 0;
    for (auto _ : state) {
        CDesktopInfo doc;
        ImageCache cache;
        doc.LoadDesktopXml(QStringLiteral("desktop001.xml"), cache);
        benchmark::DoNotOptimize(doc.m_arrFolder.data());
        decodes = cache.DecodeCount();
        if (doc.m_arrFolder.size() != kIcons) {
            state.SkipWithError("the layout did not read back");
        }
    }
    state.counters["decodes"] = decodes;
}
BENCHMARK(BM_ReadLayout)->Unit(benchmark::kMillisecond);

void BM_BuildLayoutText(benchmark::State& state) {
    Files();
    CDesktopInfo doc;
    doc.LoadDesktopXml(QStringLiteral("desktop001.xml"));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = BuildLayoutText(doc, 1920, 1080, true);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_BuildLayoutText)->Unit(benchmark::kMicrosecond);

void BM_ReadAndRewrite(benchmark::State& state) {
    Files();
    int decodes = 0;
    for (auto _ : state) {
        CDesktopInfo doc;
        ImageCache cache;
        doc.LoadDesktopXml(QStringLiteral("desktop001.xml"), cache);
        WriteTextFile(QStringLiteral("desktop002.xml"),
                      BuildLayoutText(doc, doc.m_nWidth, doc.m_nHeight, true));
        decodes = cache.DecodeCount();
    }
    state.counters["decodes"] = decodes;
}
BENCHMARK(BM_ReadAndRewrite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen(argc, argv);
}
