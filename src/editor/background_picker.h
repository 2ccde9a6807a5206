#pragma once
// The plain half of the background picker: its rows, the picture each row shows and
// the selection rule, without widgets.

#include "document/info_background.h"
#include "editor/background_choice.h"

#include <QString>
#include <vector>

namespace vodirev {

// The thumbnails are this size.
inline constexpr int kBackgroundThumbSize = 128;

// The rows of both background lists of the current folder, the common catalogue
// first, then the room's own; a list that cannot be read adds none.
std::vector<CInfoBackground> LoadBackgroundRows();

// The local file a row shows, or an empty text when its image path is empty or not
// a safe relative path (such a row is listed without a picture).
QString BackgroundPicturePath(const CInfoBackground& row);

// Every selection change of the list, also one that deselects a row: the row named
// becomes the choice, and when it is a row, its image path the result.
void OnBackgroundItemChanged(BackgroundChoice& choice, const std::vector<CInfoBackground>& rows,
                             int row);

}  // namespace vodirev
