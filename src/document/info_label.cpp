#include "document/info_label.h"

#include "base/text.h"

#include <cstdlib>

namespace vodirev {

QFont MakeGdiFont(int height, int weight, std::string_view face) {
    QFont font(fromCp949(face));
    const int pixels = std::abs(height);
    if (pixels > 0) {
        font.setPixelSize(pixels);
    }
    if (weight > 0) {
        font.setWeight(QFont::Weight(weight > 1000 ? 1000 : weight));
    }
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

void CInfoLabel::CreateFont() { m_font = MakeGdiFont(m_nHeight, m_nWeight, m_szFont); }

}  // namespace vodirev
