#include "editor/base_folder_model.h"

#include "document/list_files.h"

namespace vodirev {

namespace {

std::vector<QImage> EntryPictures(const std::vector<CInfoIcon>& entries, IconPictures& pictures) {
    std::vector<QImage> images;
    images.reserve(entries.size());
    for (const CInfoIcon& entry : entries) {
        images.push_back(pictures.Scaled(entry.m_strImage, kMenuIconSize));
    }
    return images;
}

}  // namespace

void FillBaseFolder(BaseFolderModel& model, const CInfoFolder& item) {
    FillFolderImageChoice(model, item);
}

void LoadBaseFolderImages(BaseFolderModel& model, IconPictures& pictures) {
    LoadFolderImageRows(model, pictures, true);
}

void FillSystemFolder(SystemFolderModel& model, const DesktopSession& session,
                      const CInfoFolder& item) {
    model.m_arrCatalog.clear();
    model.m_arrContent.clear();
    for (const CInfoIcon& entry : session.m_arrSysMenu) {
        if (entry.m_nFolder == 0) {
            model.m_arrCatalog.push_back(entry);
        } else if (entry.m_nFolder == kControlPanelFolderNo) {
            model.m_arrContent.push_back(entry);
        }
    }
    FillFolderImageChoice(model, item);
    model.m_nFolderNo = kControlPanelFolderNo;
}

void LoadSystemFolderContents(SystemFolderModel& model, IconPictures& pictures) {
    LoadFolderImageRows(model, pictures, false);
    model.m_imgCatalog = EntryPictures(model.m_arrCatalog, pictures);
    model.m_imgContent = EntryPictures(model.m_arrContent, pictures);
    model.m_nSelCatalogRow = -1;
    model.m_nSelContentRow = -1;
}

bool MoveSystemEntry(SystemFolderModel& model, FolderList from, IconPictures& pictures) {
    const bool fromCatalog = from == FolderList::Catalog;
    std::vector<CInfoIcon>& source = fromCatalog ? model.m_arrCatalog : model.m_arrContent;
    std::vector<CInfoIcon>& target = fromCatalog ? model.m_arrContent : model.m_arrCatalog;
    std::vector<QImage>& sourceImages = fromCatalog ? model.m_imgCatalog : model.m_imgContent;
    std::vector<QImage>& targetImages = fromCatalog ? model.m_imgContent : model.m_imgCatalog;
    int& row = fromCatalog ? model.m_nSelCatalogRow : model.m_nSelContentRow;
    if (row < 0 || std::size_t(row) >= source.size()) {
        row = -1;
        return false;
    }
    CInfoIcon entry = source[std::size_t(row)];
    entry.m_nFolder = fromCatalog ? model.m_nFolderNo : 0;
    targetImages.push_back(pictures.Scaled(entry.m_strImage, kMenuIconSize));
    target.push_back(std::move(entry));
    source.erase(source.begin() + row);
    if (std::size_t(row) < sourceImages.size()) {
        sourceImages.erase(sourceImages.begin() + row);
    }
    row = -1;
    return true;
}

}  // namespace vodirev
