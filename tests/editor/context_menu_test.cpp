#include "editor/context_menu.h"

#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vodirev {
namespace {

using test::AddIcon;
using test::AddPicture;
using test::MakeSession;
using test::SetLabel;
using test::Solid;

constexpr QRgb kRed = 0xFFFF0000;

TEST(ContextMenu, ChosenByWhatLiesUnderThePointer) {
    DesktopSession session = MakeSession(1024, 768);
    CanvasState state;
    const int types[] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < 8; ++i) {
        AddIcon(session, types[i], 100 * i, 0, Solid(64, 64, kRed));
    }
    const int expected[] = {kMenuFolder, kMenuShortcut, kNoMenu,   kMenuBase,
                            kMenuBase,   kMenuSystem,   kMenuBase, kNoMenu};
    for (int i = 0; i < 8; ++i) {
        state.m_nActiveImage = 9;
        const QPoint click(100 * i + 10, 50);  // canvas y 10
        EXPECT_EQ(OnRButtonDown(session, state, click), expected[i]) << "type " << types[i];
        EXPECT_EQ(state.m_nContextFolder, i);
        EXPECT_EQ(state.m_nActiveImage, 9) << "an icon hit leaves the picture target alone";
        // The client point, not the canvas point, becomes the insertion point.
        EXPECT_EQ(session.m_desktop.m_nNewX, click.x());
        EXPECT_EQ(session.m_desktop.m_nNewY, click.y());
    }

    // A text over an icon: the icon's menu, with both targets recorded.
    SetLabel(session, 0, 10, 10, "HELLO");
    EXPECT_EQ(OnRButtonDown(session, state, {20, 55}), kMenuFolder);
    EXPECT_EQ(state.m_nActiveText, 0);

    // A picture under a text: the text menu; the picture target stays as it was.
    SetLabel(session, 1, 10, 300, "HELLO");
    AddPicture(session, 0, 290, Solid(200, 100, kRed));
    state.m_nActiveImage = -1;
    EXPECT_EQ(OnRButtonDown(session, state, {20, 345}), kMenuText);
    EXPECT_EQ(state.m_nContextFolder, -1);
    EXPECT_EQ(state.m_nActiveText, 1);
    EXPECT_EQ(state.m_nActiveImage, -1);

    // The picture alone, then empty canvas.
    EXPECT_EQ(OnRButtonDown(session, state, {150, 420}), kMenuImage);
    EXPECT_EQ(state.m_nActiveImage, 0);
    EXPECT_EQ(state.m_nActiveText, -1);
    EXPECT_EQ(OnRButtonDown(session, state, {600, 600}), kMenuTop);
    EXPECT_EQ(state.m_nActiveImage, -1);
    EXPECT_EQ(state.m_nContextFolder, -1);
}

std::vector<std::string> Describe(int menuId) {
    std::vector<std::string> rows;
    for (const MenuEntry& entry : FindContextMenu(menuId).entries) {
        rows.push_back(entry.separator ? std::string("-")
                                       : std::to_string(entry.commandId) + " " +
                                             std::string(entry.captionUtf8));
    }
    return rows;
}

TEST(ContextMenu, SevenMenusWithExactEntries) {
    using Rows = std::vector<std::string>;
    EXPECT_EQ(Describe(kMenuTop),
              (Rows{"32788 배경 이미지 설정", "32792 배경 이미지 추가", "-", "32801 문구 추가", "-",
                    "32847 이미지 추가", "-", "32790 바로가기 아이콘 추가", "32822 폴더  추가", "-",
                    "32791 제어판 폴더 표시", "32827 내컴퓨터 표시", "32828 휴지통 표시",
                    "32855 이용후기표시", "32857 런처 모양 변경", "-", "32787 저장하고 끝내기",
                    "32786 저장없이 끝내기"}));
    EXPECT_EQ(Describe(kMenuFolder),
              (Rows{"32784 폴더 수정하기", "32785 폴더 삭제하기", "32839 폴더이미지 변경"}));
    EXPECT_EQ(Describe(kMenuShortcut),
              (Rows{"32797 바로가기 아이콘 수정", "32798 바로가기 아이콘 삭제",
                    "32841 바로가기 아이콘 이미지 변경"}));
    EXPECT_EQ(Describe(kMenuText),
              (Rows{"32818 문구 수정", "32819 문구 삭제", "32851 폰트 수정", "32853 색상 수정"}));
    EXPECT_EQ(Describe(kMenuBase),
              (Rows{"32832 기본폴더 수정", "32831 기본폴더 삭제", "32845 폴더이미지 추가"}));
    EXPECT_EQ(Describe(kMenuSystem),
              (Rows{"32837 제어판 수정", "32836 제어판 삭제", "32844 폴더이미지 변경"}));
    EXPECT_EQ(Describe(kMenuImage), (Rows{"32849 이미지 삭제"}));

    EXPECT_EQ(FindContextMenu(kMenuTop).popupName, "top");
    EXPECT_EQ(FindContextMenu(kMenuShortcut).popupName, "dfolder");
    EXPECT_EQ(FindContextMenu(kMenuText).popupName, "TextList");
    EXPECT_EQ(FindContextMenu(kMenuImage).popupName, "IMAGE");
    EXPECT_TRUE(FindContextMenu(kNoMenu).entries.empty());
    EXPECT_TRUE(FindContextMenu(132).entries.empty());
    EXPECT_EQ(AllContextMenuIds().size(), 7u);
    // The caption converts to the same text the tables hold.
    EXPECT_EQ(FindContextMenu(kMenuTop).entries[8].caption(), QStringLiteral("폴더  추가"));
}

TEST(CommandRouter, UnroutedIdsAreAbsent) {
    CommandRouter router;
    int calls = 0;
    EXPECT_FALSE(router.IsRouted(ID_ADD_TEXT));
    EXPECT_FALSE(router.Dispatch(ID_ADD_TEXT));
    router.Route(ID_ADD_TEXT, [&] { ++calls; });
    EXPECT_TRUE(router.IsRouted(ID_ADD_TEXT));
    EXPECT_TRUE(router.Dispatch(ID_ADD_TEXT));
    EXPECT_EQ(calls, 1);
    router.Route(ID_ADD_TEXT, [&] { calls += 10; });  // replaces
    router.Dispatch(ID_ADD_TEXT);
    EXPECT_EQ(calls, 11);
    router.Route(ID_ADD_TEXT, {});  // an empty handler unroutes
    EXPECT_FALSE(router.IsRouted(ID_ADD_TEXT));
    // A handler may unroute itself while it runs.
    router.Route(ID_DELETE_TEXT, [&] {
        router.Unroute(ID_DELETE_TEXT);
        ++calls;
    });
    EXPECT_TRUE(router.Dispatch(ID_DELETE_TEXT));
    EXPECT_EQ(calls, 12);
    EXPECT_FALSE(router.Dispatch(ID_DELETE_TEXT));
}

}  // namespace
}  // namespace vodirev
