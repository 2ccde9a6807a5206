#include "editor/apply_messages.h"

#include <algorithm>

namespace vodirev {

std::string BlankMarkupCharacters(std::string_view text) {
    std::string blanked(text);
    std::replace_if(
        blanked.begin(), blanked.end(), [](char c) { return c == '&' || c == '<' || c == '>'; },
        ' ');
    return blanked;
}

namespace {

CInfoFolder* TargetIcon(DesktopSession& session, int folderIndex) {
    std::vector<CInfoFolder>& icons = session.m_desktop.m_arrFolder;
    if (folderIndex < 0 || std::size_t(folderIndex) >= icons.size()) {
        return nullptr;
    }
    return &icons[std::size_t(folderIndex)];
}

// Title, show-name flag and image, as every folder-type dialog hands them back. An
// empty image path keeps the bitmap and leaves the path empty.
void ApplyNameAndImage(DesktopSession& session, int folderIndex, const FolderImageChoice& dialog) {
    CInfoFolder& icon = session.m_desktop.m_arrFolder[std::size_t(folderIndex)];
    icon.m_strTitle = BlankMarkupCharacters(dialog.m_strFolderName);
    icon.m_bShow = dialog.m_bShowName ? 1 : 0;
    session.m_desktop.ReplaceItemImage(dialog.m_strFolderImage, folderIndex);
    icon.m_szImage = dialog.m_strFolderImage;
}

}  // namespace

CommandOutcome ApplyFolderUpdate(DesktopSession& session, int folderIndex,
                                 const FolderUpdateModel& dialog) {
    std::vector<CInfoFolder>& icons = session.m_desktop.m_arrFolder;
    if (folderIndex < 0 || std::size_t(folderIndex) >= icons.size()) {
        return {};
    }
    CInfoFolder& folder = icons[std::size_t(folderIndex)];
    std::erase_if(session.m_arrMenu, [&folder](const CInfoIcon& icon) {
        return icon.m_nFolder == 0 || icon.m_nFolder == folder.m_nFlag;
    });
    session.m_arrMenu.insert(session.m_arrMenu.end(), dialog.m_arrCatalog.begin(),
                             dialog.m_arrCatalog.end());
    session.m_arrMenu.insert(session.m_arrMenu.end(), dialog.m_arrContent.begin(),
                             dialog.m_arrContent.end());
    folder.m_strTitle = BlankMarkupCharacters(dialog.m_strFolderName);
    folder.m_bShow = dialog.m_bShowName ? 1 : 0;
    session.m_desktop.ReplaceItemImage(dialog.m_strFolderImage, folderIndex);
    folder.m_szImage = dialog.m_strFolderImage;
    return {true};
}

CommandOutcome ApplyShortcut(DesktopSession& session, int folderIndex,
                             const DirectFolderModel& dialog) {
    CInfoFolder* shortcut = TargetIcon(session, folderIndex);
    if (shortcut == nullptr) {
        return {};
    }
    ApplyNameAndImage(session, folderIndex, dialog);
    shortcut->m_strLink = dialog.m_strLink;
    return {true};
}

CommandOutcome ApplyBaseFolder(DesktopSession& session, int folderIndex,
                               const BaseFolderModel& dialog) {
    if (TargetIcon(session, folderIndex) == nullptr) {
        return {};
    }
    ApplyNameAndImage(session, folderIndex, dialog);
    return {true};
}

CommandOutcome ApplySystemFolder(DesktopSession& session, int folderIndex,
                                 const SystemFolderModel& dialog) {
    if (TargetIcon(session, folderIndex) == nullptr) {
        return {};
    }
    session.m_arrSysMenu = dialog.m_arrCatalog;
    session.m_arrSysMenu.insert(session.m_arrSysMenu.end(), dialog.m_arrContent.begin(),
                                dialog.m_arrContent.end());
    ApplyNameAndImage(session, folderIndex, dialog);
    return {true};
}

}  // namespace vodirev
