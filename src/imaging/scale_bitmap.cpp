#include "imaging/scale_bitmap.h"

namespace vodirev {

// Placeholder until the imaging module lands in full.
QImage ScaleBitmap(const QImage& source, int width, int height) {
    if (source.isNull()) {
        return {};
    }
    return source.scaled(width, height).convertToFormat(QImage::Format_RGB32);
}

}  // namespace vodirev
