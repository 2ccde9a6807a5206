#include "editor/folder_image_choice.h"

namespace vodirev {

void FillFolderImageChoice(FolderImageChoice& model, const CInfoFolder& item) {
    model.m_bShowName = item.m_bShow != 0 ? 1 : 0;
    model.m_strFolderImage = item.m_szImage.str();
    model.m_strFolderName = item.m_strTitle;
}

void LoadFolderImageRows(FolderImageChoice& model, IconPictures& pictures, bool captioned) {
    model.m_nSelImage = -1;
    model.m_arrFolderImage.clear();
    model.m_imgImage.clear();
    model.m_folderImageCaptions.clear();
    for (FolderImageEntry& entry : LoadFolderImages(pictures)) {
        model.m_arrFolderImage.push_back(std::move(entry.image));
        model.m_folderImageCaptions.push_back(captioned ? std::move(entry.caption) : std::string());
        model.m_imgImage.push_back(std::move(entry.picture));
    }
}

void TakeChosenFolderImage(FolderImageChoice& model) {
    if (model.m_nSelImage >= 0 && std::size_t(model.m_nSelImage) < model.m_arrFolderImage.size()) {
        model.m_strFolderImage = model.m_arrFolderImage[std::size_t(model.m_nSelImage)].m_strPath;
    }
}

}  // namespace vodirev
