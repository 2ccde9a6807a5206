#pragma once

#include "base/fixed_string.h"

#include <QFont>
#include <string>
#include <string_view>

namespace vodirev {

// One of the five text label slots. Whether the slot is in use, and its colour,
// live in the document (m_bLabelUsed, m_crLabel).
class CInfoLabel {
public:
    int m_nX = 0;
    int m_nY = 0;
    std::string m_strText;  // lines separated by "\n"
    int m_nHeight = 0;      // font height; negative: character height in pixels
    int m_nWeight = 0;
    int m_nCharset = 0;
    FixedString<33> m_szFont;
    QFont m_font;

    // Makes m_font from height, weight, charset and face, replacing any earlier font.
    void CreateFont();

    bool operator==(const CInfoLabel&) const = default;
};

// The font a GDI CreateFont call with these fields stands for: a height of -h or h
// is a pixel size of h; the weight is the same 1..1000 scale; the face is looked
// up through the Korean substitutions.
QFont MakeGdiFont(int height, int weight, std::string_view face);

}  // namespace vodirev
