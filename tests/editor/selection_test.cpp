// Selecting and editing several items at once: clicks, the rubber band and group
// drags through the canvas controller; delete, copy and paste with the menu
// commands' rules; snapping, alignment and items left off the canvas; and the
// layout they save, undone step by step.

#include "editor/selection.h"

#include "common/fake_command_ui.h"
#include "document/layout_writer.h"
#include "editor/canvas_controller.h"
#include "editor/desktop_commands.h"
#include "editor/edit_history.h"
#include "editor/snapping.h"
#include "editor/status_line.h"
#include "editor_test_util.h"

#include <gtest/gtest.h>

namespace vodirev {
namespace {

using test::AddIcon;
using test::AddPicture;
using test::MakeSession;
using test::SetLabel;
using test::Solid;

constexpr QRgb kRed = 0xFFFF0000;
constexpr int kStrip = kToolbarHeight;
constexpr ItemRef Icon(int i) {
    return {ItemKind::Icon, i};
}
constexpr ItemRef Label(int i) {
    return {ItemKind::Label, i};
}
constexpr ItemRef Picture(int i) {
    return {ItemKind::Picture, i};
}

// Three icons in a row, a label and a picture on a 400 x 300 desktop.
class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() {
        AddIcon(session, 1, 10, 10, Solid(32, 32, kRed), "A");
        AddIcon(session, 2, 100, 10, Solid(32, 32, kRed), "B");
        AddIcon(session, 2, 200, 10, Solid(32, 32, kRed), "C");
        SetLabel(session, 0, 10, 200, "HI");  // h 24: 13 per byte, 33 per line
        AddPicture(session, 300, 200, Solid(40, 20, kRed));
    }

    // Client points: the canvas is 40 pixels lower.
    void Click(QPoint canvas, Qt::KeyboardModifiers modifiers = {}) {
        controller.OnLButtonDown(canvas + QPoint(0, kStrip), modifiers);
        controller.OnLButtonUp(canvas + QPoint(0, kStrip));
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        controller.OnLButtonDown(from + QPoint(0, kStrip), modifiers);
        controller.OnMouseMove(to + QPoint(0, kStrip), modifiers);
        controller.OnLButtonUp(to + QPoint(0, kStrip));
    }
    ItemRect Bounds(ItemRef item) const { return ItemBounds(session, item, kStrip); }

    DesktopSession session = MakeSession(400, 300);
    CanvasState state;
    CanvasController controller{session, state};
    test::FakeCommandUi ui;
};

TEST_F(SelectionTest, ClicksRubberBandAndDragsChooseWhatIsSelected) {
    Click({20, 20});
    EXPECT_EQ(state.m_selection, Selection{Icon(0)});
    Click({110, 20}, Qt::ControlModifier);
    Click({15, 210}, Qt::ShiftModifier);
    EXPECT_EQ(state.m_selection, (Selection{Icon(0), Icon(1), Label(0)}));
    Click({110, 20}, Qt::ControlModifier);  // toggled out again
    EXPECT_EQ(state.m_selection, (Selection{Icon(0), Label(0)}));
    Click({310, 205});  // a plain click: the picture alone
    EXPECT_EQ(state.m_selection, Selection{Picture(0)});

    // A plain press on empty canvas still moves the window; its click clears.
    EXPECT_TRUE(controller.OnLButtonDown({60, 150}).startWindowMove);
    controller.OnLButtonUp({60, 150});
    EXPECT_TRUE(state.m_selection.empty());

    // Shift on empty canvas draws a band instead; it selects what it touches.
    EXPECT_FALSE(controller.OnLButtonDown({90, 45}, Qt::ShiftModifier).startWindowMove);
    controller.OnMouseMove({215, 45 + 10});
    EXPECT_TRUE(state.m_bRubberBand);
    controller.OnLButtonUp({215, 55});
    EXPECT_EQ(state.m_selection, (Selection{Icon(1), Icon(2)}));
    EXPECT_FALSE(state.m_bRubberBand);

    // Dragging an unselected item moves it alone and makes it the selection.
    Drag({20, 20}, {25, 30});
    EXPECT_EQ(Bounds(Icon(0)), (ItemRect{15, 20, 47, 52}));
    EXPECT_EQ(state.m_selection, Selection{Icon(0)});

    // Dragging a selected item moves the whole selection by the pointer's distance.
    state.m_selection = {Icon(1), Label(0), Picture(0)};
    Drag({110, 20}, {140, 0});
    EXPECT_EQ(Bounds(Icon(1)), (ItemRect{130, -10, 162, 22}));
    EXPECT_EQ(session.m_desktop.m_label[0].m_nX, 40);
    EXPECT_EQ(session.m_desktop.m_label[0].m_nY, 180);
    EXPECT_EQ(session.m_desktop.m_arrUserImage[0].m_nX, 330);
    EXPECT_EQ(Bounds(Icon(2)), (ItemRect{200, 10, 232, 42}));  // not selected: stays
    EXPECT_EQ(state.m_selection.size(), 3u);

    // Ctrl+A reaches every item, also one far off the canvas.
    AddIcon(session, 2, -500, 900, Solid(32, 32, kRed));
    EXPECT_EQ(SelectAll(session).size(), 6u);
    EXPECT_TRUE(Contains(ItemsTouching(session, {-600, 0}, {0, 1000}, kStrip), Icon(3)));
}

TEST_F(SelectionTest, SnapsToOtherItemsAndTheCentreUnlessAltIsHeld) {
    controller.SetSnapping(true);
    // Icon 0 dragged so its left edge comes 4 pixels right of icon 1's: pulled onto it.
    Drag({20, 20}, {114, 72});
    EXPECT_EQ(Bounds(Icon(0)).left, 100);
    // Its top came 12 below icon 2's bottom, too far; vertically the centre line
    // (150) was 8 away from its centre, too far as well: it stays where it was put.
    EXPECT_EQ(Bounds(Icon(0)).top, 62);
    EXPECT_FALSE(state.m_nGuideX) << "guides go with the release";

    // While the button is held the guide is shown; Alt drags freely.
    controller.OnLButtonDown({110, 20 + kStrip});
    controller.OnMouseMove({205, 20 + kStrip});
    EXPECT_EQ(Bounds(Icon(1)).left, 200);  // 5 short of icon 2's left edge
    EXPECT_EQ(state.m_nGuideX, 200);
    controller.OnMouseMove({205, 20 + kStrip}, Qt::AltModifier);
    EXPECT_EQ(Bounds(Icon(1)).left, 195);
    EXPECT_FALSE(state.m_nGuideX);
    controller.OnLButtonUp({205, 20 + kStrip});

    // The nearest target wins, an edge over a centre at the same distance.
    SnapHelper snap;
    snap.SetTargets({100, 116, 132}, {50});
    const SnapResult near = snap.Snap({114, 0, 130, 16}, false);  // left 114 -> 116
    EXPECT_EQ(near.dx, 2);
    EXPECT_EQ(near.guideX, 116);
    EXPECT_EQ(snap.Snap({0, 52, 10, 62}, false).dy, -2);
    EXPECT_EQ(snap.Snap({0, 57, 10, 67}, false).guideY, std::nullopt);
}

TEST_F(SelectionTest, DeleteHasTheMenuCommandsEffects) {
    AddIcon(session, 6, 50, 100, Solid(32, 32, kRed));  // control panel, index 3
    session.m_desktop.m_arrFolder[0].m_nFlag = 7;
    session.m_arrMenu = {CInfoIcon{}, CInfoIcon{}};
    session.m_arrMenu[0].m_nFolder = 7;
    session.m_arrMenu[1].m_nFolder = 3;
    session.m_arrSysMenu = {CInfoIcon{}};
    session.m_arrSysMenu[0].m_nFolder = 1;
    SetLabel(session, 2, 10, 250, "X");

    Selection selection{Icon(0), Icon(3), Label(0), Picture(0), Icon(2)};
    ASSERT_TRUE(DeleteSelection(session, selection));
    const auto& icons = session.m_desktop.m_arrFolder;
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].m_strTitle, "B");
    EXPECT_EQ(session.m_arrMenu[0].m_nFolder, 0) << "the folder's programs return";
    EXPECT_EQ(session.m_arrMenu[1].m_nFolder, 3) << "another folder's stay";
    EXPECT_EQ(session.m_arrSysMenu[0].m_nFolder, 0) << "the control panel's entries return";
    EXPECT_EQ(session.m_desktop.m_bLabelUsed[0], 0);
    EXPECT_EQ(session.m_desktop.m_bLabelUsed[2], 1);
    EXPECT_TRUE(session.m_desktop.m_arrUserImage.empty());
    EXPECT_TRUE(selection.empty());
    EXPECT_FALSE(DeleteSelection(session, selection));
}

TEST_F(SelectionTest, PasteFollowsTheCreationRules) {
    session.m_desktop.m_crLabel[0] = MakeColorRef(1, 2, 3);
    AddIcon(session, 4, 300, 100, Solid(32, 32, kRed), "MY");  // my computer, index 3
    CInfoFolder& folder = session.m_desktop.m_arrFolder[0];
    folder.m_strLink = "http://x/";
    folder.m_szImage = "images\\bkicons\\a.gif";

    const ClipboardItems copied = CopySelection(session, {Picture(0), Icon(3), Label(0), Icon(0)},
                                                kStrip);  // bounds from (10, 10)
    EXPECT_EQ(copied.origin, QPoint(10, 10));
    const Selection pasted = PasteItems(session, copied, {50, 60}, ui);
    const auto& icons = session.m_desktop.m_arrFolder;
    // My computer is there already: only the folder, numbered as the create commands do.
    ASSERT_EQ(icons.size(), 5u);
    EXPECT_EQ(icons[4].m_nFlag, 5);
    EXPECT_EQ(icons[4].m_strTitle, "A");
    EXPECT_EQ(icons[4].m_strLink, "http://x/");
    EXPECT_EQ(icons[4].m_szImage.str(), "images\\bkicons\\a.gif");
    EXPECT_EQ(icons[4].m_rcItem, (ItemRect{50, 60, 82, 92}));
    EXPECT_EQ(session.m_desktop.m_label[1].m_nY, 250);  // kept its place in the group
    EXPECT_EQ(session.m_desktop.m_label[1].m_strText, "HI");
    EXPECT_EQ(session.m_desktop.m_crLabel[1], MakeColorRef(1, 2, 3));
    EXPECT_EQ(session.m_desktop.m_arrUserImage[1].m_nX, 340);
    EXPECT_EQ(pasted, (Selection{Icon(4), Label(1), Picture(1)}));

    // Five label slots: the sixth copy is refused with the add command's message.
    for (int i = 0; i < 3; ++i) {
        DuplicateSelection(session, {Label(0)}, kStrip, ui);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(session.m_desktop.m_label[4].m_nX, 20);  // 10 right of the original
    const Selection none = DuplicateSelection(session, {Label(0), Picture(0)}, kStrip, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], QString::fromUtf8(kNoMoreLabelsMessage));
    EXPECT_EQ(none, Selection{Picture(2)});  // the picture still came
    EXPECT_EQ(session.m_desktop.m_arrUserImage[2].m_nY, 210);
}

TEST_F(SelectionTest, AlignDistributeAndBringBackWhatLiesOffTheCanvas) {
    session.m_desktop.m_arrFolder[1].m_rcItem = {90, 40, 122, 72};
    const Selection icons{Icon(0), Icon(1), Icon(2)};
    EXPECT_FALSE(AlignSelection(session, {Icon(0)}, Alignment::Left, kStrip));
    ASSERT_TRUE(AlignSelection(session, icons, Alignment::Bottom, kStrip));
    EXPECT_EQ(Bounds(Icon(0)).bottom, 72);
    EXPECT_EQ(Bounds(Icon(2)).top, 40);
    ASSERT_TRUE(AlignSelection(session, {Icon(0), Picture(0)}, Alignment::VerticalCentre, kStrip));
    EXPECT_EQ(Bounds(Icon(0)).top + 16, Bounds(Picture(0)).top + 10);
    ASSERT_TRUE(DistributeSelection(session, icons, true, kStrip));
    // 10 .. 232 holds 96 pixels of icons: two gaps of 63.
    EXPECT_EQ(Bounds(Icon(1)).left, 10 + 32 + 63);
    EXPECT_EQ(Bounds(Icon(2)).left, 200);

    // After a change to 160 x 120, the picture and label lie wholly outside.
    const Selection outside = ItemsOffCanvas(session, 160, 120);
    EXPECT_EQ(outside, (Selection{Icon(2), Label(0), Picture(0)}));
    MoveInsideCanvas(session, outside, 160, 120);
    EXPECT_TRUE(ItemsOffCanvas(session, 160, 120).empty());
    EXPECT_EQ(Bounds(Picture(0)), (ItemRect{120, 100, 160, 120}));
    EXPECT_EQ(Bounds(Label(0)).left, 10);  // only as far as needed
}

// The layout text after nudges, alignment and a paste, and undo back to each text.
TEST_F(SelectionTest, SavedLayoutFollowsEachEditAndUndoReturnsTheBytesBefore) {
    EditHistory history(session);
    history.Reset();
    std::vector<std::string> texts{BuildLayoutText(session.m_desktop, 400, 300, true)};
    const auto step = [&](auto edit) {
        history.Record(QStringLiteral("edit"), edit);
        texts.push_back(BuildLayoutText(session.m_desktop, 400, 300, true));
    };
    const auto line = [&](const std::string& text, const std::string& start) {
        const std::size_t at = text.find(start);
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    step([&] { MoveSelection(session, {Icon(1), Label(0)}, 1, 0); });
    step([&] { MoveSelection(session, {Icon(1), Label(0)}, 0, -10); });
    EXPECT_EQ(line(texts.back(), "<icon name=\"icon2\""),
              "<icon name=\"icon2\" x=\"101\" y=\"0\" width=\"32\" height=\"32\"  flag=\"0\"  "
              "type=\"2\" showflag=\"1\" >");
    EXPECT_NE(texts.back().find("x=\"11\" y=\"190\""), std::string::npos);
    step([&] { AlignSelection(session, {Icon(0), Icon(1), Icon(2)}, Alignment::Top, kStrip); });
    EXPECT_NE(line(texts.back(), "<icon name=\"icon1\"").find("x=\"10\" y=\"0\""),
              std::string::npos);
    EXPECT_NE(line(texts.back(), "<icon name=\"icon3\"").find("x=\"200\" y=\"0\""),
              std::string::npos);
    step([&] { PasteItems(session, CopySelection(session, {Icon(2)}, kStrip), {300, 250}, ui); });
    EXPECT_EQ(line(texts.back(), "<icon name=\"icon4\""),
              "<icon name=\"icon4\" x=\"300\" y=\"250\" width=\"32\" height=\"32\"  flag=\"4\"  "
              "type=\"2\" showflag=\"1\" >");
    // Everything else of the layout is the text before, byte for byte.
    std::string withoutPaste = texts.back();
    const std::size_t pasted = withoutPaste.find("<icon name=\"icon4\"");
    withoutPaste.erase(pasted, withoutPaste.find("</icon>", pasted) + 8 - pasted);
    EXPECT_EQ(withoutPaste, texts[texts.size() - 2]);

    for (std::size_t i = texts.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.Undo());
        EXPECT_EQ(BuildLayoutText(session.m_desktop, 400, 300, true), texts[i - 1]) << i;
    }
}

// The status line: the pointer on the desktop, the hovered item or the selection,
// the server as start-up found it and the unsaved changes.
TEST_F(SelectionTest, StatusLineNamesPointerSelectionServerAndChanges) {
    controller.OnMouseMove({20, 20 + kStrip});
    StatusFacts facts{true, false, 2, true};
    QStringList lines = StatusLines(session, state, facts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("X 20, Y 20"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\"A\" (10, 10) 32×32")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("연결 안 됨")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("게시 안 된 파일 2개")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("저장 안 된 변경 있음")));

    state.m_selection = {Icon(0), Picture(0)};
    controller.OnMouseLeave();
    lines = StatusLines(session, state, StatusFacts{true, true, 0, false});
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("X -, Y -")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("2개 (10, 10) 330×210")));
    EXPECT_FALSE(lines[1].contains(QStringLiteral("게시 안 된")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("변경 없음")));
}

}  // namespace
}  // namespace vodirev
