#include "imaging/image_io.h"

#include <QImageReader>

namespace vodirev {

// Placeholder until the imaging module lands in full.
QImage LoadImageBitmap(const QString& path) {
    QImageReader reader(path);
    return reader.read();
}

bool SaveBitmapToFile(const QString&, const QImage&) { return false; }

}  // namespace vodirev
