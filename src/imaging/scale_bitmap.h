#pragma once
// The system's own thumbnail resampler (area averaging when shrinking, bilinear
// coverage when enlarging, single precision, truncating).

#include <QImage>

namespace vodirev {

// Returns a new image of exactly width x height (Format_RGB32), or a null image when
// the size would grow the picture along one axis and shrink it along the other.
QImage ScaleBitmap(const QImage& source, int width, int height);

}  // namespace vodirev
