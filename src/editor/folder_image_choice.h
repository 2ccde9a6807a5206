#pragma once
// What the shortcut, base folder and control panel dialogs share: the icon's name,
// its show-name flag and its image, chosen from the folder images of the two lists.
// Row k of the image list is element k of m_arrFolderImage and picture k.

#include "document/folder_images.h"
#include "document/info_folder.h"
#include "document/info_image.h"
#include "editor/command_ui.h"

#include <QImage>
#include <string>
#include <vector>

namespace vodirev {

struct FolderImageChoice : DialogModel {
    std::vector<CInfoImage> m_arrFolderImage;        // rows of the folder image list
    std::vector<QImage> m_imgImage;                  // 64 x 64, magenta the transparent colour
    std::vector<std::string> m_folderImageCaptions;  // CP949 row texts
    int m_nSelImage = -1;          // folder image row named by the latest selection change
    std::string m_strFolderImage;  // the image handed back on apply
    std::string m_strFolderName;   // CP949
    int m_bShowName = 0;
};

// The icon's name, show-name flag and image into the model.
void FillFolderImageChoice(FolderImageChoice& model, const CInfoFolder& item);

// Refills the image rows from the two folder image lists; captioned rows carry the
// file name, the others an empty text. No row is named afterwards.
void LoadFolderImageRows(FolderImageChoice& model, IconPictures& pictures, bool captioned);

// Apply, before the hand-off: the folder image named last, else the icon's own.
void TakeChosenFolderImage(FolderImageChoice& model);

}  // namespace vodirev
