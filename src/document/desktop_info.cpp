#include "document/desktop_info.h"

#include "base/paths.h"
#include "document/install_images.h"
#include "imaging/image_io.h"

namespace vodirev {

namespace {

// Titles in CP949.
constexpr const char* kNewShortcutTitle =
    "\xBB\xF5 \xB9\xD9\xB7\xCE\xB0\xA1\xB1\xE2";                               // 새 바로가기
constexpr const char* kNewFolderTitle = "\xBB\xF5\xC6\xFA\xB4\xF5";            // 새폴더
constexpr const char* kRecycleBinTitle = "\xC8\xDE\xC1\xF6\xC5\xEB";           // 휴지통
constexpr const char* kMyComputerTitle = "\xB3\xBB\xC4\xC4\xC7\xBB\xC5\xCD";   // 내컴퓨터
constexpr const char* kUserReviewsTitle = "\xC0\xCC\xBF\xEB\xC8\xC4\xB1\xE2";  // 이용후기
constexpr const char* kControlPanelTitle = "\xC1\xA6\xBE\xEE\xC6\xC7";         // 제어판

}  // namespace

int CDesktopInfo::FirstFreeLabelSlot() const {
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!m_bLabelUsed[slot]) {
            return slot;
        }
    }
    return -1;
}

int CDesktopInfo::AddIcon(int type, const char* title, const char* image) {
    CInfoFolder icon;
    icon.m_nX = m_nNewX;
    icon.m_nY = m_nNewY;
    icon.m_nWidth = 64;
    icon.m_nHeight = 64;
    icon.m_nFlag = static_cast<int>(m_arrFolder.size()) + 1;
    icon.m_nType = type;
    icon.m_strTitle = title;
    icon.m_bShow = 1;
    icon.m_szDir = "nf";
    icon.m_szImage = image;
    icon.m_pBitmap = LoadImageBitmap(localPath(image));
    icon.m_rcItem = {icon.m_nX, icon.m_nY, icon.m_nX + icon.m_pBitmap.width(),
                     icon.m_nY + icon.m_pBitmap.height()};
    m_arrFolder.push_back(std::move(icon));
    return static_cast<int>(m_arrFolder.size()) - 1;
}

int CDesktopInfo::AddShortcutIcon() {
    return AddIcon(kTypeShortcut, kNewShortcutTitle, kFolderImage);
}
int CDesktopInfo::AddFolder() {
    return AddIcon(kTypeFolder, kNewFolderTitle, kFolderImage);
}
int CDesktopInfo::AddRecycleBin() {
    return AddIcon(kTypeRecycleBin, kRecycleBinTitle, kRecycleBinImage);
}
int CDesktopInfo::AddMyComputer() {
    return AddIcon(kTypeMyComputer, kMyComputerTitle, kMyComputerImage);
}
int CDesktopInfo::AddUserReviews() {
    return AddIcon(kTypeUserReviews, kUserReviewsTitle, kUserReviewsImage);
}
int CDesktopInfo::AddControlPanel() {
    return AddIcon(kTypeControlPanel, kControlPanelTitle, kControlPanelImage);
}

int CDesktopInfo::FindIconOfType(int type) const {
    for (std::size_t i = 0; i < m_arrFolder.size(); ++i) {
        if (m_arrFolder[i].m_nType == type) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CDesktopInfo::ReplaceItemImage(std::string_view path, int index) {
    if (path.empty() || index < 0 || index >= static_cast<int>(m_arrFolder.size())) {
        return;
    }
    std::string clean(path);
    std::erase(clean, '\n');
    CInfoFolder& icon = m_arrFolder[static_cast<std::size_t>(index)];
    icon.m_pBitmap = LoadImageBitmap(localPath(clean));
    icon.m_rcItem.right = icon.m_rcItem.left + icon.m_pBitmap.width();
    icon.m_rcItem.bottom = icon.m_rcItem.top + icon.m_pBitmap.height();
}

}  // namespace vodirev
