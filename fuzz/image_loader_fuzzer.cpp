// Picture files: the completeness checks and the pixel budget. A decoded picture was
// found complete first and was charged at least its own pixels.

#include "fuzz_util.h"
#include "imaging/image_io.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

using namespace vodirev;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::AbsoluteArtifactPrefix(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::InWorkDir inWorkDir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool complete = IsCompleteImageData(bytes);
    {
        QFile file(QStringLiteral("picture"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(bytes);
    }
    constexpr std::int64_t kBudget = 4'000'000;
    PixelBudget budget(kBudget);
    const QImage image = LoadImageBitmap(QStringLiteral("picture"), budget);
    if (!image.isNull()) {
        fuzz::Check(complete, "a picture decoded that was not found complete");
        fuzz::Check(std::int64_t(image.width()) * image.height() <= kBudget - budget.Left(),
                    "a picture decoded to more pixels than it was charged");
    }
    return 0;
}
