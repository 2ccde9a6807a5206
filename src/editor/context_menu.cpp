#include "editor/context_menu.h"

#include "editor/command_ids.h"
#include "editor/hit_test.h"

#include <algorithm>
#include <climits>

namespace vodirev {

namespace {

constexpr MenuEntry Item(int id, std::string_view caption) {
    return MenuEntry{id, caption, false};
}
constexpr MenuEntry Separator() {
    return MenuEntry{0, {}, true};
}

constexpr MenuEntry kTopEntries[] = {
    Item(ID_SET_BACKGROUND, "배경 이미지 설정"),
    Item(ID_ADD_BACKGROUND, "배경 이미지 추가"),
    Separator(),
    Item(ID_ADD_TEXT, "문구 추가"),
    Separator(),
    Item(ID_ADD_PICTURE, "이미지 추가"),
    Separator(),
    Item(ID_ADD_SHORTCUT, "바로가기 아이콘 추가"),
    Item(ID_ADD_FOLDER, "폴더  추가"),  // two blanks
    Separator(),
    Item(ID_SHOW_CONTROL_PANEL, "제어판 폴더 표시"),
    Item(ID_SHOW_MY_COMPUTER, "내컴퓨터 표시"),
    Item(ID_SHOW_RECYCLE_BIN, "휴지통 표시"),
    Item(ID_SHOW_USER_REVIEWS, "이용후기표시"),
    Item(ID_CHANGE_LAUNCHER, "런처 모양 변경"),
    Separator(),
    Item(ID_SAVE_AND_EXIT, "저장하고 끝내기"),
    Item(ID_EXIT_WITHOUT_SAVE, "저장없이 끝내기"),
};

constexpr MenuEntry kFolderEntries[] = {
    Item(ID_MODIFY_FOLDER, "폴더 수정하기"),
    Item(ID_DELETE_FOLDER, "폴더 삭제하기"),
    Item(ID_CHANGE_FOLDER_IMAGE, "폴더이미지 변경"),
};

constexpr MenuEntry kShortcutEntries[] = {
    Item(ID_MODIFY_SHORTCUT, "바로가기 아이콘 수정"),
    Item(ID_DELETE_SHORTCUT, "바로가기 아이콘 삭제"),
    Item(ID_CHANGE_SHORTCUT_IMAGE, "바로가기 아이콘 이미지 변경"),
};

constexpr MenuEntry kTextEntries[] = {
    Item(ID_MODIFY_TEXT, "문구 수정"),
    Item(ID_DELETE_TEXT, "문구 삭제"),
    Item(ID_CHANGE_FONT, "폰트 수정"),
    Item(ID_CHANGE_COLOR, "색상 수정"),
};

constexpr MenuEntry kBaseEntries[] = {
    Item(ID_MODIFY_BASE_FOLDER, "기본폴더 수정"),
    Item(ID_DELETE_BASE_FOLDER, "기본폴더 삭제"),
    Item(ID_ADD_FOLDER_IMAGE, "폴더이미지 추가"),
};

constexpr MenuEntry kSystemEntries[] = {
    Item(ID_MODIFY_CONTROL_PANEL, "제어판 수정"),
    Item(ID_DELETE_CONTROL_PANEL, "제어판 삭제"),
    Item(ID_CHANGE_SYSTEM_IMAGE, "폴더이미지 변경"),
};

constexpr MenuEntry kImageEntries[] = {
    Item(ID_DELETE_PICTURE, "이미지 삭제"),
};

constexpr int kMenuIds[] = {kMenuTop,  kMenuFolder, kMenuShortcut, kMenuText,
                            kMenuBase, kMenuSystem, kMenuImage};

int ToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

ContextMenu FindContextMenu(int menuId) {
    switch (menuId) {
        case kMenuTop:
            return {kMenuTop, "top", kTopEntries};
        case kMenuFolder:
            return {kMenuFolder, "folder", kFolderEntries};
        case kMenuShortcut:
            return {kMenuShortcut, "dfolder", kShortcutEntries};
        case kMenuText:
            return {kMenuText, "TextList", kTextEntries};
        case kMenuBase:
            return {kMenuBase, "base", kBaseEntries};
        case kMenuSystem:
            return {kMenuSystem, "system", kSystemEntries};
        case kMenuImage:
            return {kMenuImage, "IMAGE", kImageEntries};
        default:
            return {};
    }
}

QString CommandCaption(int commandId) {
    for (const int menuId : kMenuIds) {
        for (const MenuEntry& entry : FindContextMenu(menuId).entries) {
            if (!entry.separator && entry.commandId == commandId) {
                return entry.caption();
            }
        }
    }
    return QString();
}

std::span<const int> AllContextMenuIds() {
    return kMenuIds;
}

int ContextMenuForIconType(int type) {
    switch (type) {
        case kTypeFolder:
            return kMenuFolder;
        case kTypeShortcut:
            return kMenuShortcut;
        case kTypeMyComputer:
        case kTypeRecycleBin:
        case kTypeUserReviews:
            return kMenuBase;
        case kTypeControlPanel:
            return kMenuSystem;
        default:
            return kNoMenu;
    }
}

int OnRButtonDown(DesktopSession& session, CanvasState& state, QPoint client) {
    CDesktopInfo& desktop = session.m_desktop;
    const QPoint canvas(client.x(), ToInt(1LL * client.y() - state.m_nToolbarHeight));
    state.m_nContextFolder = HitTestFolder(desktop, canvas);
    state.m_nActiveText = HitTestText(desktop, canvas);
    // New icons go where the click was, in client coordinates taken as canvas ones.
    desktop.m_nNewX = client.x();
    desktop.m_nNewY = client.y();

    if (state.m_nContextFolder >= 0) {
        return ContextMenuForIconType(desktop.m_arrFolder[state.m_nContextFolder].m_nType);
    }
    if (state.m_nActiveText >= 0) {
        return kMenuText;
    }
    state.m_nActiveImage = HitTestImage(desktop, canvas);
    return state.m_nActiveImage >= 0 ? kMenuImage : kMenuTop;
}

}  // namespace vodirev
