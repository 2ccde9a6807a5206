#pragma once
// The font dialog's plain half and the two size tables of the text labels: the
// dialog's sixteen size rows, and the table the font command turns a size text into
// a label height with.

#include "editor/command_ui.h"

#include <array>
#include <string>
#include <string_view>

namespace vodirev {

// The nine faces in the dialog's row order (UTF-8).
inline constexpr std::array<const char*, 9> kFontFaces = {
    "굴림", "굴림체", "궁서", "궁서체", "돋움", "돋움체", "바탕", "바탕체", "맑은 고딕"};

// The styles: row 0 "보통" and row 1 "굵게".
inline constexpr std::array<int, 2> kFontStyleWeights = {400, 700};

struct FontSizeRow {
    const char* text;
    int height;
};

// The size list rows in order. Its "72" stands for -96, while the label table
// makes -95 of "72".
inline constexpr std::array<FontSizeRow, 16> kFontSizeRows = {{{"8", -11},
                                                               {"9", -12},
                                                               {"10", -13},
                                                               {"11", -15},
                                                               {"12", -16},
                                                               {"14", -19},
                                                               {"16", -21},
                                                               {"18", -24},
                                                               {"20", -27},
                                                               {"22", -29},
                                                               {"24", -32},
                                                               {"26", -35},
                                                               {"28", -37},
                                                               {"36", -48},
                                                               {"48", -64},
                                                               {"72", -96}}};

// The label height for a size text "8" to "72" compared as exact text; -96 for any
// other text ("7", "100", "08", "").
int LabelHeightForSize(std::string_view size);

// "폰트 수정": the label's face, weight and height in; face, weight and size text out.
struct UserFontModel : DialogModel {
    std::string m_strFont;  // CP949
    int m_nHeight = 0;
    int m_nWeight = 0;
    std::string m_strSize;
    // The rows selected when the dialog opens; -1 = none.
    int m_nFaceRow = -1;
    int m_nStyleRow = -1;
    int m_nSizeRow = -1;
};

// The opening: the face row of exactly m_strFont, the style row of 400 or 700, and
// the size text (and row, where the size list has the height) of m_nHeight; any
// height neither table knows shows "72" with no row.
void InitUserFont(UserFontModel& model);

// Selection changes; a row out of range changes nothing.
void OnFaceRow(UserFontModel& model, int row);
void OnStyleRow(UserFontModel& model, int row);
void OnSizeRow(UserFontModel& model, int row);

}  // namespace vodirev
