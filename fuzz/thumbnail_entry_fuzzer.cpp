// Thumbnail cache entries as found on disk: any bytes under an entry's name give no
// thumbnail or one within the largest entry's size.

#include "fuzz_util.h"
#include "imaging/thumbnail_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

using namespace vodirev;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::AbsoluteArtifactPrefix(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::InWorkDir inWorkDir;
    static ThumbnailCache cache(fuzz::WorkDir().filePath(QStringLiteral("cache")), 1 << 20);
    ThumbnailKey key;
    key.path = QStringLiteral("/room/images/a.png");
    key.bytes = 1234;
    key.modified = 5678;
    key.size = QSize(128, 128);
    const QString entry = cache.EntryPath(key);
    if (entry.isEmpty()) {
        return 0;
    }
    QDir().mkpath(QFileInfo(entry).path());
    {
        QFile file(entry);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const std::optional<QImage> image = cache.FindOnDisk(key);
    if (image && !image->isNull()) {
        fuzz::Check(image->width() <= 1024 && image->height() <= 1024,
                    "an entry larger than any the cache writes");
    }
    cache.ClearMemory();
    return 0;
}
