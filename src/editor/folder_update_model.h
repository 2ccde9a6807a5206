#pragma once
// The folder editor's plain half: the folder's name, show-name flag and image, the
// catalogue of program icons in no folder and the icons of this folder, with every
// operation of the dialog on them. Row k of a list is element k of its array and
// picture k of its picture list; every operation keeps them in step.

#include "base/fixed_string.h"
#include "document/desktop_session.h"
#include "document/folder_images.h"
#include "document/info_icon.h"
#include "document/info_image.h"
#include "editor/command_ui.h"
#include "editor/folder_image_choice.h"

#include <QImage>
#include <optional>
#include <string>
#include <vector>

namespace vodirev {

inline constexpr const char* kSelectOneIconMessage = "한개이상 선택 되었거나 선택되지 않았습니다\n";

// The folder images, name, show-name flag and chosen image come from the base.
struct FolderUpdateModel : FolderImageChoice {
    std::vector<CInfoIcon> m_arrCatalog;  // icons in no folder
    std::vector<CInfoIcon> m_arrContent;  // icons of this folder
    int m_nFolderNo = 0;                  // what this folder's icons carry in m_nFolder
    int m_nDesktop = 0;
    FixedString<260> m_szWorkDir;
    // The 16 x 16 pictures of the icon rows.
    std::vector<QImage> m_imgCatalog;
    std::vector<QImage> m_imgContent;
};

enum class FolderList { Catalog, Content };

// What the edit command puts into the dialog before it shows: the catalogue and this
// folder's icons from the session's program icons, and the folder's fields.
void FillFolderUpdate(FolderUpdateModel& model, const DesktopSession& session,
                      const CInfoFolder& folder);

// Fills the three lists: the folder images of both lists, and the icons whose
// picture decodes at 16 x 16 (the others leave the dialog, and the desktop on apply).
void LoadFolderContents(FolderUpdateModel& model, IconPictures& pictures);

// ">>" (from the catalogue) and "<<" (from the folder): the rows move, in ascending
// order, to the end of the other list, carrying the folder's number or 0.
void MoveIcons(FolderUpdateModel& model, FolderList from, std::vector<int> rows,
               IconPictures& pictures);

// Removes the rows of both lists; no file is touched.
void DeleteIcons(FolderUpdateModel& model, std::vector<int> catalogRows,
                 std::vector<int> contentRows);

// A registered icon joins the catalogue when its name has at least 2 bytes and its
// image path at least 3; false otherwise (nothing changes).
bool AddRegisteredIcon(FolderUpdateModel& model, CInfoIcon icon, IconPictures& pictures);

// The one row selected over both lists, or nothing when none or several are.
std::optional<std::pair<FolderList, int>> SingleSelectedIcon(const std::vector<int>& catalogRows,
                                                             const std::vector<int>& contentRows);
CInfoIcon& IconAt(FolderUpdateModel& model, FolderList list, int row);

}  // namespace vodirev
