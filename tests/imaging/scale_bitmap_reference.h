#pragma once
// A literal, unoptimised transcription of the thumbnail resampler, kept as the
// oracle that the fast ScaleBitmap must match byte for byte.

#include <QImage>

namespace vodirev::test {

QImage ScaleBitmapReference(const QImage& source, int width, int height);

}  // namespace vodirev::test
