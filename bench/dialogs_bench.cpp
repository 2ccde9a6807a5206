// Opening the folder editor on a large room: 300 catalogue icons over 30 distinct
// pictures and 40 folder images. The baseline decodes and scales every row's
// picture on its own, as a reader without the per-opening cache would.

#include "base/paths.h"
#include "dialogs/folder_update_dlg.h"
#include "editor/command_ui.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace vodirev {
namespace {

class NoUi : public CommandUi {
public:
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&, bool) override { return false; }
    QString ChooseOpenFile(const QString&, const QString&) override { return {}; }
    std::optional<QColor> ChooseColor(const QColor&) override { return std::nullopt; }
    bool RunDialog(DialogModel&) override { return false; }
};

QImage Picture(int size, int seed) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(QColor::fromHsv(seed * 11 % 360, 200, 220));
    QPainter painter(&image);
    painter.setBrush(Qt::white);
    painter.drawEllipse(size / 4, size / 4, size / 2, size / 2);
    return image;
}

struct LargeRoom {
    QTemporaryDir work;
    FolderUpdateModel filled;

    LargeRoom() {
        QDir::setCurrent(work.path());
        QDir().mkpath("images/icons");
        QDir().mkpath("images/bkicons");
        for (int i = 0; i < 30; ++i) {
            SaveBitmapToFile(QStringLiteral("images/icons/p%1.png").arg(i), Picture(48, i));
        }
        QByteArray folders;
        for (int i = 0; i < 40; ++i) {
            SaveBitmapToFile(QStringLiteral("images/bkicons/f%1.png").arg(i), Picture(64, i));
            folders += "images\\bkicons\\f" + QByteArray::number(i) + ".png\n";
        }
        QFile list("LIST_FOLDER.db");
        if (list.open(QIODevice::WriteOnly)) {
            list.write(folders);
        }
        for (int i = 0; i < 300; ++i) {
            CInfoIcon icon;
            icon.m_strName = "program " + std::to_string(i);
            icon.m_strImage = "images\\icons\\p" + std::to_string(i % 30) + ".png";
            icon.m_nFolder = i < 280 ? 0 : 1;
            (icon.m_nFolder == 0 ? filled.m_arrCatalog : filled.m_arrContent).push_back(icon);
        }
        filled.m_nFolderNo = 1;
    }
};

LargeRoom& Room() {
    static LargeRoom room;
    return room;
}

void BM_OpenFolderEditor(benchmark::State& state) {
    LargeRoom& room = Room();
    NoUi ui;
    CFolderUpdateDlg dialog(ui, nullptr);
    for (auto _ : state) {
        dialog.model() = room.filled;
        dialog.LoadFolderContents();
        benchmark::DoNotOptimize(dialog.model().m_imgCatalog.size());
    }
    state.counters["rows"] =
        double(dialog.model().m_arrCatalog.size() + dialog.model().m_arrContent.size() +
               dialog.model().m_arrFolderImage.size());
}
BENCHMARK(BM_OpenFolderEditor)->Unit(benchmark::kMillisecond);

// Baseline: every row decoded and scaled on its own.
void BM_DecodeEveryRow(benchmark::State& state) {
    LargeRoom& room = Room();
    for (auto _ : state) {
        int shown = 0;
        for (int i = 0; i < 40; ++i) {
            shown += !ScaleBitmap(LoadImageBitmap(QStringLiteral("images/bkicons/f%1.png").arg(i)),
                                  64, 64)
                          .isNull();
        }
        for (const auto* list : {&room.filled.m_arrCatalog, &room.filled.m_arrContent}) {
            for (const CInfoIcon& icon : *list) {
                shown += !ScaleBitmap(LoadImageBitmap(localPath(icon.m_strImage)), 16, 16).isNull();
            }
        }
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_DecodeEveryRow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vodirev

int main(int argc, char** argv) {
    return vodirev::bench::RunBenchmarksOffscreen<QApplication>(argc, argv);
}
