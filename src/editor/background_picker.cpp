#include "editor/background_picker.h"

#include "base/paths.h"
#include "document/file_names.h"
#include "document/list_files.h"

namespace vodirev {

std::vector<CInfoBackground> LoadBackgroundRows() {
    std::vector<CInfoBackground> rows = LoadBackgroundList(QString::fromLatin1(kBackgroundList));
    std::vector<CInfoBackground> user =
        LoadBackgroundList(QString::fromLatin1(kBackgroundUserList));
    rows.insert(rows.end(), std::make_move_iterator(user.begin()),
                std::make_move_iterator(user.end()));
    return rows;
}

QString BackgroundPicturePath(const CInfoBackground& row) {
    if (!isInsideWorkingFolder(row.m_strImage)) {
        return {};
    }
    return localPath(row.m_strImage);
}

void OnBackgroundItemChanged(BackgroundChoice& choice, const std::vector<CInfoBackground>& rows,
                             int row) {
    choice.m_nSelRow = row;
    if (row >= 0 && std::size_t(row) < rows.size()) {
        choice.m_strSelImage = rows[std::size_t(row)].m_strImage;
    }
}

}  // namespace vodirev
