#include "editor/canvas_controller.h"

#include "editor/context_menu.h"
#include "editor/hit_test.h"
#include "editor_test_util.h"

#include <gtest/gtest.h>

namespace vodirev {
namespace {

using test::AddIcon;
using test::AddPicture;
using test::Cp949;
using test::MakeSession;
using test::SetLabel;
using test::Solid;

constexpr QRgb kRed = 0xFFFF0000;

TEST(HitTest, IconsAndPicturesInclusiveLowestIndexFirst) {
    DesktopSession session = MakeSession();
    CDesktopInfo& desktop = session.m_desktop;
    AddIcon(session, 1, 10, 20, Solid(32, 48, kRed));  // (10, 20, 42, 68)
    AddIcon(session, 2, 10, 20, Solid(32, 48, kRed));  // same rectangle, drawn on top
    AddIcon(session, 2, 200, 200, QImage());           // did not decode: empty rectangle
    EXPECT_EQ(HitTestFolder(desktop, {10, 20}), 0);
    EXPECT_EQ(HitTestFolder(desktop, {42, 68}), 0);
    EXPECT_EQ(HitTestFolder(desktop, {43, 68}), -1);
    EXPECT_EQ(HitTestFolder(desktop, {42, 69}), -1);
    EXPECT_EQ(HitTestFolder(desktop, {9, 30}), -1);
    EXPECT_EQ(HitTestFolder(desktop, {200, 200}), 2);
    EXPECT_EQ(HitTestFolder(desktop, {201, 200}), -1);

    AddPicture(session, 5, 5, QImage());  // not drawn, not hit
    AddPicture(session, 5, 5, Solid(30, 20, kRed));
    AddPicture(session, 0, 0, Solid(100, 100, kRed));
    EXPECT_EQ(HitTestImage(desktop, {5, 5}), 1);
    EXPECT_EQ(HitTestImage(desktop, {35, 25}), 1);
    EXPECT_EQ(HitTestImage(desktop, {36, 25}), 2);
    EXPECT_EQ(HitTestImage(desktop, {101, 0}), -1);
}

TEST(HitTest, TextWidthComesFromTheFirstLinesBytes) {
    DesktopSession session = MakeSession();
    CDesktopInfo& desktop = session.m_desktop;
    // h = 24, "가나" is 4 bytes: x 95 .. 100 + 5 + 13 * 4 = 157, y 50 .. 50 + 33 + 5 = 88.
    SetLabel(session, 1, 100, 50, Cp949("가나\nmuch longer second line"));
    SetLabel(session, 2, 100, 50, "ABCDEFGHIJKLMNOP");
    SetLabel(session, 0, 100, 50, "X");
    desktop.m_bLabelUsed[0] = 0;  // not in use: never hit
    EXPECT_EQ(HitTestText(desktop, {95, 50}), 1);
    EXPECT_EQ(HitTestText(desktop, {157, 88}), 1);
    EXPECT_EQ(HitTestText(desktop, {94, 60}), -1);
    EXPECT_EQ(HitTestText(desktop, {100, 49}), -1);
    EXPECT_EQ(HitTestText(desktop, {100, 89}), -1);
    EXPECT_EQ(HitTestText(desktop, {158, 60}), 2);  // only the longer label reaches here
    // An empty first line leaves a 10-pixel-wide target.
    SetLabel(session, 3, 300, 150, "\nsecond");
    EXPECT_EQ(HitTestText(desktop, {305, 160}), 3);
    EXPECT_EQ(HitTestText(desktop, {306, 160}), -1);
    // Extreme values from a file do not overflow.
    SetLabel(session, 4, INT_MAX, INT_MAX, "AAAA", INT_MIN);
    EXPECT_EQ(HitTestText(desktop, {INT_MAX, INT_MAX}), 4);
}

TEST(HitTest, LauncherIsStrictlyInside) {
    DesktopSession session = MakeSession();
    session.m_nLauncherX = 100;
    session.m_nLauncherY = 200;
    EXPECT_FALSE(HitTestLauncher(session, {120, 210}));  // no bitmap: never
    session.m_pLauncherBitmap = Solid(50, 20, kRed);
    EXPECT_TRUE(HitTestLauncher(session, {101, 201}));
    EXPECT_TRUE(HitTestLauncher(session, {149, 219}));
    EXPECT_FALSE(HitTestLauncher(session, {100, 210}));
    EXPECT_FALSE(HitTestLauncher(session, {150, 210}));
    EXPECT_FALSE(HitTestLauncher(session, {120, 200}));
    EXPECT_FALSE(HitTestLauncher(session, {120, 220}));
}

class CanvasControllerTest : public ::testing::Test {
protected:
    DesktopSession session = MakeSession(1024, 768);
    CanvasState state;
    CanvasController controller{session, state};
};

TEST_F(CanvasControllerTest, IconOverPictureAndLauncherOverIconOnlyOneMoves) {
    AddPicture(session, 90, 90, Solid(100, 100, kRed));
    AddIcon(session, 1, 100, 100, Solid(64, 64, kRed));
    // Client (110, 150) is canvas (110, 110): icon and picture both grabbed.
    EXPECT_FALSE(controller.OnLButtonDown({110, 150}).startWindowMove);
    EXPECT_EQ(state.m_nPressedFolder, 0);
    EXPECT_EQ(state.m_nActiveImage, 0);
    EXPECT_EQ(state.m_ptGrab, QPoint(10, 50));  // client point minus canvas origin
    EXPECT_EQ(state.m_ptImageGrab, QPoint(20, 60));
    EXPECT_TRUE(controller.OnMouseMove({210, 250}).repaint);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{200, 200, 264, 264}));
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nX, 90);
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nY, 90);
    controller.OnLButtonUp({210, 250});
    EXPECT_EQ(state.m_nPressedFolder, -1);
    EXPECT_EQ(state.m_nActiveImage, -1);

    // The launcher lies over the icon, now at canvas (200, 200) = client y 240.
    session.m_pLauncherBitmap = Solid(100, 30, kRed);
    session.m_nLauncherX = 180;
    session.m_nLauncherY = 230;
    controller.OnLButtonDown({210, 250});
    EXPECT_TRUE(state.m_bLauncherDrag);
    EXPECT_EQ(state.m_nPressedFolder, 0);
    EXPECT_EQ(state.m_ptLauncherGrab, QPoint(30, 20));
    controller.OnMouseMove({15, 25});  // the launcher may go over the strip and off the window
    EXPECT_EQ(session.m_nLauncherX, -15);
    EXPECT_EQ(session.m_nLauncherY, 5);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{200, 200, 264, 264}));
    controller.OnLButtonUp({15, 25});
    EXPECT_FALSE(state.m_bLauncherDrag);
}

TEST_F(CanvasControllerTest, PressOnEmptyCanvasMovesTheWindow) {
    AddPicture(session, 500, 500, Solid(10, 10, kRed));
    const MouseOutcome outcome = controller.OnLButtonDown({300, 300});
    EXPECT_TRUE(outcome.startWindowMove);
    EXPECT_TRUE(state.m_bWindowDrag);
    EXPECT_EQ(state.m_ptPress, QPoint(300, 300));
    EXPECT_EQ(state.m_nPressedFolder, -1);
    EXPECT_EQ(state.m_nActiveText, -1);
    EXPECT_EQ(state.m_nActiveImage, -1);
    // A picture alone is grabbed and moves; it starts no window move.
    EXPECT_FALSE(controller.OnLButtonDown({505, 545}).startWindowMove);
    EXPECT_FALSE(state.m_bWindowDrag);
    controller.OnMouseMove({605, 645});
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nX, 600);
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nY, 600);
}

TEST_F(CanvasControllerTest, StripStopsADragAndBelowItResumesWithTheSameOffset) {
    AddIcon(session, 2, 100, 100, Solid(64, 64, kRed));
    controller.OnLButtonDown({110, 150});
    controller.OnMouseMove({200, 250});
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{190, 200, 254, 264}));
    EXPECT_TRUE(controller.OnMouseMove({100, 20}).repaint);  // highlight follows the pointer
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{190, 200, 254, 264}));
    controller.OnMouseMove({400, 39});
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{190, 200, 254, 264}));
    // An icon does not follow the pointer at y = 40 exactly.
    EXPECT_FALSE(controller.OnMouseMove({400, 40}).repaint);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{190, 200, 254, 264}));
    controller.OnMouseMove({50, 41});
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{40, -9, 104, 55}));
    // No clamping: the icon can leave the canvas.
    controller.OnMouseMove({5000, 3000});
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem.left, 4990);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_nX, 100);  // only the rectangle moves
}

TEST_F(CanvasControllerTest, TextGrabbedFromItsLeftMarginStaysPut) {
    SetLabel(session, 2, 300, 100, "HELLO");
    // Client (297, 150): canvas x 3 left of the text, inside the hit margin.
    controller.OnLButtonDown({297, 150});
    EXPECT_EQ(state.m_nActiveText, 2);
    EXPECT_EQ(state.m_ptGrab, QPoint(-3, 50));
    EXPECT_FALSE(controller.OnMouseMove({400, 300}).repaint);
    EXPECT_EQ(session.m_desktop.m_label[2].m_nX, 300);
    EXPECT_EQ(session.m_desktop.m_label[2].m_nY, 100);
    controller.OnLButtonUp({400, 300});
    EXPECT_EQ(state.m_nActiveText, -1);

    controller.OnLButtonDown({305, 150});
    EXPECT_TRUE(controller.OnMouseMove({405, 40}).repaint);  // text moves at y = 40
    EXPECT_EQ(session.m_desktop.m_label[2].m_nX, 400);
    EXPECT_EQ(session.m_desktop.m_label[2].m_nY, -10);
}

TEST_F(CanvasControllerTest, CursorAndHoverRepaints) {
    AddIcon(session, 1, 100, 100, Solid(64, 64, kRed));
    SetLabel(session, 0, 400, 100, "HELLO");
    AddPicture(session, 600, 100, Solid(50, 50, kRed));
    session.m_pLauncherBitmap = Solid(100, 30, kRed);
    session.m_nLauncherX = 800;
    session.m_nLauncherY = 500;

    struct Case {
        QPoint at;
        Qt::CursorShape cursor;
        bool repaint;
    };
    const Case cases[] = {
        {{120, 150}, Qt::PointingHandCursor, true},  // icon
        {{300, 300}, Qt::CrossCursor, true},         // owed repaint removes the frame
        {{310, 300}, Qt::CrossCursor, false},
        {{850, 510}, Qt::PointingHandCursor, false},  // launcher alone: no repaint
        {{410, 150}, Qt::PointingHandCursor, true},   // text
        {{610, 150}, Qt::PointingHandCursor, true},   // picture
        {{0, 20}, Qt::PointingHandCursor, true},      // strip, buttons
        {{250, 20}, Qt::PointingHandCursor, true},
        {{251, 20}, Qt::ArrowCursor, true},  // leaving the buttons takes the highlight away
        {{300, 20}, Qt::ArrowCursor, false},
        {{-1, 20}, Qt::ArrowCursor, false},
        {{300, 0}, Qt::CrossCursor, false},  // y = 0 is not inside the strip
    };
    for (const Case& c : cases) {
        const MouseOutcome outcome = controller.OnMouseMove(c.at);
        ASSERT_TRUE(outcome.cursor.has_value());
        EXPECT_EQ(*outcome.cursor, c.cursor) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(outcome.repaint, c.repaint) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(state.m_ptMouse, c.at);
    }

    controller.OnMouseMove({120, 150});
    EXPECT_EQ(state.m_nHoverFolder, 0);
    EXPECT_TRUE(controller.OnMouseLeave().repaint);
    EXPECT_EQ(state.m_nHoverFolder, -1);
    EXPECT_FALSE(state.m_bRedrawPending);
    EXPECT_FALSE(controller.OnMouseLeave().repaint);
}

TEST_F(CanvasControllerTest, ToolbarButtonsActOnReleaseAtTheLastMovementsX) {
    AddIcon(session, 2, 0, 0, Solid(64, 64, kRed));
    const auto release = [&](int lastX, int releaseY) {
        state.m_ptMouse = QPoint(lastX, 20);
        session.m_desktop.m_arrFolder[0].m_rcItem = {0, 0, 64, 64};
        return controller.OnLButtonUp({999, releaseY});
    };
    EXPECT_FALSE(release(0, 20).arranged);
    EXPECT_FALSE(release(0, 20).openResolutionDialog);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem.left, 0);
    for (int x : {1, 140}) {
        const MouseOutcome outcome = release(x, 20);
        EXPECT_TRUE(outcome.arranged) << x;
        EXPECT_FALSE(outcome.repaint) << x;  // the organiser asks no repaint of its own
        EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem.left, 152) << x;
    }
    for (int x : {141, 250}) {
        const MouseOutcome outcome = release(x, 39);
        EXPECT_TRUE(outcome.openResolutionDialog) << x;
        EXPECT_FALSE(outcome.arranged) << x;
    }
    EXPECT_FALSE(release(251, 20).openResolutionDialog);
    EXPECT_FALSE(release(100, 40).arranged);  // released below the strip

    EXPECT_TRUE(controller.ApplyResolution(1280, 1024));
    EXPECT_EQ(session.m_nResWidth, 1280);
    EXPECT_EQ(session.m_nResHeight, 1024);
    EXPECT_EQ(state.m_ptMouse, QPoint(0, 0));
    EXPECT_FALSE(controller.ApplyResolution(0, 768));
    EXPECT_EQ(session.m_nResWidth, 1280);
}

// A right click names its label or picture for the menu's commands; with no button
// held nothing follows the pointer, and a later left drag still works.
TEST_F(CanvasControllerTest, RightClickTargetsStayPutUntilTheLeftButtonDrags) {
    SetLabel(session, 0, 400, 100, "HELLO");
    AddPicture(session, 600, 300, Solid(50, 50, kRed));
    controller.OnLButtonDown({610, 350});  // the picture was clicked before
    controller.OnLButtonUp({610, 350});

    EXPECT_EQ(OnRButtonDown(session, state, {410, 150}), kMenuText);
    EXPECT_EQ(state.m_nActiveText, 0);
    controller.OnMouseMove({700, 600});
    EXPECT_EQ(session.m_desktop.m_label[0].m_nX, 400);
    EXPECT_EQ(session.m_desktop.m_label[0].m_nY, 100);

    EXPECT_EQ(OnRButtonDown(session, state, {610, 350}), kMenuImage);
    EXPECT_EQ(state.m_nActiveImage, 0);
    EXPECT_FALSE(controller.OnMouseMove({100, 500}).repaint);
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nX, 600);
    EXPECT_EQ(state.m_nActiveImage, 0);  // still the target of the picture commands

    controller.OnLButtonDown({410, 150});
    controller.OnMouseMove({420, 160});
    EXPECT_EQ(session.m_desktop.m_label[0].m_nX, 410);
    controller.OnLButtonUp({420, 160});
    controller.OnMouseMove({500, 500});
    EXPECT_EQ(session.m_desktop.m_label[0].m_nX, 410);
}

// A modal dialog takes the pointer away (a leave) and gives it back without a move:
// the next click on a toolbar button still acts, while the highlight is gone.
TEST_F(CanvasControllerTest, LeaveKeepsTheLastPositionForTheToolbar) {
    AddIcon(session, 2, 0, 0, Solid(64, 64, kRed));
    controller.OnMouseMove({60, 20});
    controller.OnMouseLeave();
    EXPECT_EQ(state.m_ptMouse, QPoint(60, 20));
    EXPECT_FALSE(state.m_bPointerInside);
    controller.OnLButtonDown({60, 20});
    EXPECT_TRUE(controller.OnLButtonUp({60, 20}).arranged);
}

TEST(ArrangeIcons, TwoRowsOfSevenFromTheResolutionsCentre) {
    DesktopSession session = MakeSession(1024, 768);
    AddIcon(session, 4, 5, 5, Solid(64, 64, kRed));          // special: stays
    AddIcon(session, 2, 7, 7, Solid(64, 64, kRed), "t", 0);  // hidden title: stays
    for (int i = 0; i < 20; ++i) {
        AddIcon(session, i == 3 ? 3 : (i % 2 ? 1 : 2), 1000 + i, 900, Solid(48, 32, kRed));
    }
    ArrangeIcons(session);
    const auto& folders = session.m_desktop.m_arrFolder;
    EXPECT_EQ(folders[0].m_rcItem, (ItemRect{5, 5, 69, 69}));
    EXPECT_EQ(folders[1].m_rcItem, (ItemRect{7, 7, 71, 71}));
    for (int i = 0; i < 7; ++i) {
        const int x = 152 + 120 * i;
        EXPECT_EQ(folders[2 + i].m_rcItem, (ItemRect{x, 354, x + 48, 386})) << i;
    }
    for (int i = 0; i < 7; ++i) {
        const int x = 212 + 120 * i;
        EXPECT_EQ(folders[9 + i].m_rcItem, (ItemRect{x, 484, x + 48, 516})) << i;
    }
    for (int i = 14; i < 20; ++i) {
        EXPECT_EQ(folders[2 + i].m_rcItem.left, 1000 + i) << i;
        EXPECT_EQ(folders[2 + i].m_rcItem.top, 900) << i;
    }

    // Odd sizes truncate: 1023 / 2 - 360 = 151, 767 / 2 - 30 = 353.
    session.m_nResWidth = 1023;
    session.m_nResHeight = 767;
    ArrangeIcons(session);
    EXPECT_EQ(folders[2].m_rcItem.left, 151);
    EXPECT_EQ(folders[2].m_rcItem.top, 353);
}

}  // namespace
}  // namespace vodirev
