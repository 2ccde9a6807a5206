#include "document/info_label.h"

#include "base/text.h"

#include <algorithm>
#include <cstdlib>

namespace vodirev {

QFont MakeGdiFont(int height, int weight, std::string_view face) {
    QFont font(fromCp949(face));
    // Heights come from files: no absurd sizes, and no abs() of INT_MIN.
    constexpr int kLargestPixelSize = 1000;
    const long long pixels = std::llabs(static_cast<long long>(height));
    if (pixels > 0) {
        font.setPixelSize(int(std::min<long long>(pixels, kLargestPixelSize)));
    }
    if (weight > 0) {
        font.setWeight(QFont::Weight(weight > 1000 ? 1000 : weight));
    }
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

void CInfoLabel::CreateFont() {
    m_font = MakeGdiFont(m_nHeight, m_nWeight, m_szFont);
}

}  // namespace vodirev
