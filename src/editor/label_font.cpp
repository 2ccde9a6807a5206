#include "editor/label_font.h"

#include "base/text.h"

#include <QString>

namespace vodirev {

namespace {

constexpr int kSmallestLabelSize = 8;

// Heights of the sizes 8 to 72 in turn; they follow no formula.
constexpr std::array<int, 65> kLabelHeights = {
    -11, -12, -13, -15, -16, -17, -19, -20, -21, -23, -24, -26, -27, -28, -29, -31, -32,
    -34, -35, -36, -37, -39, -40, -41, -42, -43, -46, -47, -48, -49, -50, -51, -52, -53,
    -55, -57, -59, -61, -62, -63, -64, -65, -66, -67, -68, -69, -70, -71, -73, -75, -77,
    -79, -81, -83, -85, -86, -87, -88, -89, -90, -91, -92, -93, -94, -95};

constexpr int kUnknownSizeHeight = -96;

bool InRange(int row, std::size_t size) {
    return row >= 0 && std::size_t(row) < size;
}

}  // namespace

int LabelHeightForSize(std::string_view size) {
    for (std::size_t i = 0; i < kLabelHeights.size(); ++i) {
        if (size == std::to_string(kSmallestLabelSize + int(i))) {
            return kLabelHeights[i];
        }
    }
    return kUnknownSizeHeight;
}

void InitUserFont(UserFontModel& model) {
    model.m_nFaceRow = -1;
    for (std::size_t row = 0; row < kFontFaces.size(); ++row) {
        if (model.m_strFont == toCp949(QString::fromUtf8(kFontFaces[row]))) {
            model.m_nFaceRow = int(row);
            break;
        }
    }
    model.m_nStyleRow = -1;
    for (std::size_t row = 0; row < kFontStyleWeights.size(); ++row) {
        if (model.m_nWeight == kFontStyleWeights[row]) {
            model.m_nStyleRow = int(row);
        }
    }
    model.m_nSizeRow = -1;
    model.m_strSize = "72";
    for (std::size_t row = 0; row < kFontSizeRows.size(); ++row) {
        if (model.m_nHeight == kFontSizeRows[row].height) {
            model.m_nSizeRow = int(row);
            model.m_strSize = kFontSizeRows[row].text;
            return;
        }
    }
    // The other sizes of the label table show their text without a row; its "72"
    // (-95) is not among them and falls to the default like any unknown height.
    for (std::size_t i = 0; i + 1 < kLabelHeights.size(); ++i) {
        if (model.m_nHeight == kLabelHeights[i]) {
            model.m_strSize = std::to_string(kSmallestLabelSize + int(i));
            return;
        }
    }
}

void OnFaceRow(UserFontModel& model, int row) {
    if (InRange(row, kFontFaces.size())) {
        model.m_strFont = toCp949(QString::fromUtf8(kFontFaces[std::size_t(row)]));
    }
}

void OnStyleRow(UserFontModel& model, int row) {
    if (InRange(row, kFontStyleWeights.size())) {
        model.m_nWeight = kFontStyleWeights[std::size_t(row)];
    }
}

void OnSizeRow(UserFontModel& model, int row) {
    if (InRange(row, kFontSizeRows.size())) {
        model.m_nHeight = kFontSizeRows[std::size_t(row)].height;
        model.m_strSize = kFontSizeRows[std::size_t(row)].text;
    }
}

}  // namespace vodirev
