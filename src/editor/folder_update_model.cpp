#include "editor/folder_update_model.h"

#include "document/list_files.h"

#include <algorithm>

namespace vodirev {

namespace {

std::vector<CInfoIcon>& Icons(FolderUpdateModel& model, FolderList list) {
    return list == FolderList::Catalog ? model.m_arrCatalog : model.m_arrContent;
}
std::vector<QImage>& Pictures(FolderUpdateModel& model, FolderList list) {
    return list == FolderList::Catalog ? model.m_imgCatalog : model.m_imgContent;
}

// Valid rows of a list, ascending, each once.
std::vector<int> ValidRows(std::vector<int> rows, std::size_t count) {
    std::erase_if(rows, [count](int row) { return row < 0 || std::size_t(row) >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void RemoveRows(FolderUpdateModel& model, FolderList list, const std::vector<int>& rows) {
    std::vector<CInfoIcon>& icons = Icons(model, list);
    std::vector<QImage>& pictures = Pictures(model, list);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        icons.erase(icons.begin() + *row);
        if (std::size_t(*row) < pictures.size()) {
            pictures.erase(pictures.begin() + *row);
        }
    }
}

// Keeps the icons of the list whose number is folder and whose picture shows.
void LoadIconList(std::vector<CInfoIcon>& icons, std::vector<QImage>& pictures, int folder,
                  IconPictures& cache) {
    pictures.clear();
    for (std::size_t i = 0; i < icons.size();) {
        if (icons[i].m_nFolder != folder) {
            // Not shown, but kept: only icons of this list were copied in.
            pictures.emplace_back();
            ++i;
            continue;
        }
        QImage picture = cache.Scaled(icons[i].m_strImage, kMenuIconSize);
        if (picture.isNull()) {
            icons.erase(icons.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        pictures.push_back(std::move(picture));
        ++i;
    }
}

}  // namespace

void FillFolderUpdate(FolderUpdateModel& model, const DesktopSession& session,
                      const CInfoFolder& folder) {
    model.m_arrCatalog.clear();
    model.m_arrContent.clear();
    for (const CInfoIcon& icon : session.m_arrMenu) {
        if (icon.m_nFolder == 0) {
            model.m_arrCatalog.push_back(icon);
        } else if (icon.m_nFolder == folder.m_nFlag) {
            model.m_arrContent.push_back(icon);
        }
    }
    FillFolderImageChoice(model, folder);
    model.m_szWorkDir = session.m_szWorkDir.str();
    model.m_nDesktop = session.m_nDesktop;
    model.m_nFolderNo = folder.m_nFlag;
}

void LoadFolderContents(FolderUpdateModel& model, IconPictures& pictures) {
    LoadFolderImageRows(model, pictures, true);
    LoadIconList(model.m_arrCatalog, model.m_imgCatalog, 0, pictures);
    LoadIconList(model.m_arrContent, model.m_imgContent, model.m_nFolderNo, pictures);
}

void MoveIcons(FolderUpdateModel& model, FolderList from, std::vector<int> rows,
               IconPictures& pictures) {
    const FolderList to = from == FolderList::Catalog ? FolderList::Content : FolderList::Catalog;
    rows = ValidRows(std::move(rows), Icons(model, from).size());
    for (const int row : rows) {
        CInfoIcon icon = Icons(model, from)[std::size_t(row)];
        icon.m_nFolder = to == FolderList::Content ? model.m_nFolderNo : 0;
        Pictures(model, to).push_back(pictures.Scaled(icon.m_strImage, kMenuIconSize));
        Icons(model, to).push_back(std::move(icon));
    }
    RemoveRows(model, from, rows);
}

void DeleteIcons(FolderUpdateModel& model, std::vector<int> catalogRows,
                 std::vector<int> contentRows) {
    RemoveRows(model, FolderList::Content,
               ValidRows(std::move(contentRows), model.m_arrContent.size()));
    RemoveRows(model, FolderList::Catalog,
               ValidRows(std::move(catalogRows), model.m_arrCatalog.size()));
}

bool AddRegisteredIcon(FolderUpdateModel& model, CInfoIcon icon, IconPictures& pictures) {
    if (icon.m_strName.size() < 2 || icon.m_strImage.size() < 3) {
        return false;
    }
    icon.m_nFolder = 0;
    model.m_imgCatalog.push_back(pictures.Scaled(icon.m_strImage, kMenuIconSize));
    model.m_arrCatalog.push_back(std::move(icon));
    return true;
}

std::optional<std::pair<FolderList, int>> SingleSelectedIcon(const std::vector<int>& catalogRows,
                                                             const std::vector<int>& contentRows) {
    if (catalogRows.size() + contentRows.size() != 1) {
        return std::nullopt;
    }
    return catalogRows.empty() ? std::make_pair(FolderList::Content, contentRows.front())
                               : std::make_pair(FolderList::Catalog, catalogRows.front());
}

CInfoIcon& IconAt(FolderUpdateModel& model, FolderList list, int row) {
    return Icons(model, list).at(std::size_t(row));
}

}  // namespace vodirev
