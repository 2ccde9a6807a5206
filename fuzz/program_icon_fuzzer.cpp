// Program icons: any bytes as a Windows program (icon 0 of its resources), as one icon
// image, and, when they start like an .ico file, as a picture file. An icon is always
// Format_ARGB32 of at most 256 x 256, and Qt's .ico reader agrees with the check made
// before it runs.

#include "fuzz_util.h"
#include "imaging/icon_image.h"
#include "imaging/image_io.h"
#include "imaging/program_icon.h"

#include <QByteArrayView>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>

using namespace vodirev;

namespace {

using fuzz::Check;
using fuzz::InWorkDir;

bool ValidIcon(const QImage& image) {
    return image.format() == QImage::Format_ARGB32 && image.width() >= 1 &&
           image.width() <= kMaxIconSide && image.height() >= 1 && image.height() <= kMaxIconSide;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vodirev::fuzz::AbsoluteArtifactPrefix(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    // The PNG decoder's complaints about broken inputs would drown the fuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const QImage program = ReadProgramIcon(bytes);
    Check(program.isNull() || ValidIcon(program), "a program icon of another format or size");

    const auto info = ReadIconImageInfo(bytes);
    const QImage image = DecodeIconImage(bytes);
    Check(image.isNull() ||
              (info && ValidIcon(image) && image.size() == QSize(info->width, info->height)),
          "an icon image unlike its header");
    Check(!info || info->png || !image.isNull(), "a checked DIB did not decode");

    if (bytes.startsWith(QByteArrayView("\0\0\1\0", 4))) {
        IconImageInfo picked;
        const int index = PickIcoImage(bytes, &picked);
        const InWorkDir inWorkDir;
        QFile file(QStringLiteral("input.ico"));
        if (index >= 0 && file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(reinterpret_cast<const char*>(data), qint64(size));
            file.close();
            const QImage loaded = LoadImageBitmap(file.fileName());
            Check(picked.png || !loaded.isNull(), "Qt did not read a checked .ico image");
            Check(loaded.isNull() || loaded.size() == QSize(picked.width, picked.height),
                  "Qt read an .ico image of another size than checked");
        }
    }
    return 0;
}
