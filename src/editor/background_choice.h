#pragma once
// The background picker's result, kept by the window across openings: until a new
// selection notification arrives it still names the row chosen last time.

#include "editor/command_ui.h"

#include <string>

namespace vodirev {

struct BackgroundChoice : DialogModel {
    int m_nSelRow = -1;         // row of the latest selection change; -1 before any
    std::string m_strSelImage;  // CP949 image path of that row; the result
};

}  // namespace vodirev
