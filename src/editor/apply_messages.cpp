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

// The target when it is an icon of a kind the dialog edits; otherwise none, so a
// dialog's members never land on an icon of another kind.
CInfoFolder* TargetIcon(DesktopSession& session, int folderIndex,
                        std::initializer_list<int> kinds) {
    std::vector<CInfoFolder>& icons = session.m_desktop.m_arrFolder;
    if (folderIndex < 0 || std::size_t(folderIndex) >= icons.size()) {
        return nullptr;
    }
    CInfoFolder& icon = icons[std::size_t(folderIndex)];
    return std::find(kinds.begin(), kinds.end(), icon.m_nType) != kinds.end() ? &icon : nullptr;
}

bool SameIcon(const CInfoFolder& a, const CInfoFolder& b) {
    return a.m_nType == b.m_nType && a.m_nFlag == b.m_nFlag && a.m_strTitle == b.m_strTitle &&
           a.m_szImage.str() == b.m_szImage.str() && a.m_strLink == b.m_strLink &&
           a.m_szDir.str() == b.m_szDir.str();
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
    CInfoFolder* target = TargetIcon(session, folderIndex, {kTypeFolder});
    if (target == nullptr) {
        return {};
    }
    CInfoFolder& folder = *target;
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
    CInfoFolder* shortcut = TargetIcon(session, folderIndex, {kTypeShortcut});
    if (shortcut == nullptr) {
        return {};
    }
    ApplyNameAndImage(session, folderIndex, dialog);
    shortcut->m_strLink = dialog.m_strLink;
    return {true};
}

CommandOutcome ApplyBaseFolder(DesktopSession& session, int folderIndex,
                               const BaseFolderModel& dialog) {
    if (TargetIcon(session, folderIndex, {kTypeMyComputer, kTypeRecycleBin, kTypeUserReviews}) ==
        nullptr) {
        return {};
    }
    ApplyNameAndImage(session, folderIndex, dialog);
    return {true};
}

CommandOutcome ApplySystemFolder(DesktopSession& session, int folderIndex,
                                 const SystemFolderModel& dialog) {
    if (TargetIcon(session, folderIndex, {kTypeControlPanel}) == nullptr) {
        return {};
    }
    session.m_arrSysMenu = dialog.m_arrCatalog;
    session.m_arrSysMenu.insert(session.m_arrSysMenu.end(), dialog.m_arrContent.begin(),
                                dialog.m_arrContent.end());
    ApplyNameAndImage(session, folderIndex, dialog);
    return {true};
}

int FollowIcon(const CDesktopInfo& desktop, int index, const CInfoFolder& was, bool reordered) {
    const std::vector<CInfoFolder>& icons = desktop.m_arrFolder;
    const bool inRange = index >= 0 && std::size_t(index) < icons.size();
    if (inRange && (SameIcon(icons[std::size_t(index)], was) ||
                    (!reordered && icons[std::size_t(index)].m_nType == was.m_nType))) {
        return index;
    }
    const auto found = std::find_if(icons.begin(), icons.end(), [&was](const CInfoFolder& icon) {
        return SameIcon(icon, was);
    });
    return found == icons.end() ? -1 : int(found - icons.begin());
}

}  // namespace vodirev
