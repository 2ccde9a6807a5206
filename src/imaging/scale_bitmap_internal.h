#pragma once
// For the imaging tests: the resampler with its baseline inner loops, whatever the
// processor offers, so both builds of the loops can be checked on one machine.

#include <QImage>

namespace vodirev::detail {

QImage ScaleBitmapBaseline(const QImage& source, int width, int height);

}  // namespace vodirev::detail
