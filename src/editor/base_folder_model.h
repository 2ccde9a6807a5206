#pragma once
// The plain halves of the base folder dialog (my computer, recycle bin, user
// reviews) and of the control panel folder dialog, whose system entries are either
// in the control panel (folder 1) or offered in the catalogue (folder 0).

#include "document/desktop_session.h"
#include "document/info_icon.h"
#include "editor/folder_image_choice.h"
#include "editor/folder_update_model.h"

#include <QImage>
#include <vector>

namespace vodirev {

inline constexpr int kControlPanelFolderNo = 1;

struct BaseFolderModel : FolderImageChoice {};

struct SystemFolderModel : FolderImageChoice {
    std::vector<CInfoIcon> m_arrCatalog;  // system entries not in the control panel
    std::vector<CInfoIcon> m_arrContent;  // system entries in the control panel
    std::vector<QImage> m_imgCatalog;     // 16 x 16, null when the icon did not load
    std::vector<QImage> m_imgContent;
    // One chosen row per list: ">>" moves the catalogue's, "<<" the control panel's.
    int m_nSelCatalogRow = -1;
    int m_nSelContentRow = -1;
    int m_nFolderNo = kControlPanelFolderNo;
};

// What the edit command puts into the base folder dialog before it shows.
void FillBaseFolder(BaseFolderModel& model, const CInfoFolder& item);

// The folder image rows, each with its file name.
void LoadBaseFolderImages(BaseFolderModel& model, IconPictures& pictures);

// The control panel dialog's fields, and the session's system entries split by
// folder number: 0 to the catalogue, 1 to the control panel, any other left out.
void FillSystemFolder(SystemFolderModel& model, const DesktopSession& session,
                      const CInfoFolder& item);

// The folder image rows without texts, and the pictures of both entry lists. An
// entry whose icon does not load keeps its row. No row is chosen afterwards.
void LoadSystemFolderContents(SystemFolderModel& model, IconPictures& pictures);

// ">>" (from the catalogue) or "<<" (from the control panel): the row chosen in the
// source list moves to the end of the other list with the other folder number, and
// that list's choice is cleared. False when no row was chosen there.
bool MoveSystemEntry(SystemFolderModel& model, FolderList from, IconPictures& pictures);

}  // namespace vodirev
