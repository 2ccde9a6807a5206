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

}  // namespace vodirev
