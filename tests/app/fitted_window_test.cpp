// The editor window on a screen too small for its frame: the frame fitted, pointer
// positions mapped back to client coordinates, the key to 100 % with scrolling; and
// on a screen large enough, the frame painted exactly as the renderer composed it.

#include "app/verada_vodirev_dlg.h"
#include "common/temp_dir.h"
#include "editor/frame_renderer.h"
#include "window_test_images.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

using namespace vodirev;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;
using vodirev::test::WriteWindowImages;

namespace {

const QSize kLaptop(1366, 768);
const QSize kLargeScreen(4000, 3000);

// Desktop 0 at 1920 x 1080: folder icons at canvas (1500, 900) and (120, 100),
// a label at (1200, 700).
void writeFullHdDesktop() {
    WriteWindowImages();
    auto iconElement = [](int n, int x, int y) {
        return "<icon name=\"icon" + std::to_string(n) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
               std::to_string(y) + "\" width=\"64\" height=\"64\"  flag=\"" + std::to_string(n) +
               "\"  type=\"1\" showflag=\"1\" >\r\n<title> F</title>\r\n"
               "<image> images\\icon.png</image>\r\n<link></link>\r\n<dir></dir>\r\n</icon>\r\n";
    };
    const std::string layout =
        "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<desktop>\r\n"
        "<background name=\"bg\" width=\"1920\" height=\"1080\">\r\n"
        "<image>images\\bg.png</image>\r\n</background>\r\n" +
        iconElement(1, 1500, 900) + iconElement(2, 120, 100) +
        "<window name=\"title\" x=\"1200\" y=\"700\" height=\"-32\" weight=\"700\" flag=\"0\"  "
        "charset=\"1\" fontname=\"Sans\" colorr=\"255\" colorg=\"255\" colorb=\"255\">\r\n"
        "<title> Hello </title>\r\n</window>\r\n</desktop>\r\n";
    WriteFileBytes("desktop000.xml", QByteArray::fromStdString(layout));
}

// One editor on desktop 0 of its own working folder, on a screen of the given area.
struct Editor {
    explicit Editor(QSize screen) {
        writeFullHdDesktop();
        window.SetScreenArea(screen);
        EXPECT_TRUE(window.OnInitDialog());
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void drag(QPoint from, QPoint to) {
        QTest::mouseMove(&window, from);
        QTest::mousePress(&window, Qt::LeftButton, {}, from);
        QTest::mouseMove(&window, (from + to) / 2);
        QTest::mouseMove(&window, to);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, to);
    }

    // A right click through the real context menu, closed unchosen. Returns where
    // the menu opened on the screen.
    QPoint rightClick(QPoint at) {
        QPoint menuAt(-1, -1);
        QTimer::singleShot(50, [&menuAt] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuAt = popup->pos();
                popup->close();
            }
        });
        QTest::mousePress(&window, Qt::RightButton, {}, at);
        QTest::mouseRelease(&window, Qt::RightButton, {}, at);
        return menuAt;
    }

    void wheel(QPoint at, QPoint angleDelta) {
        QWheelEvent event(QPointF(at), window.mapToGlobal(QPointF(at)), QPoint(), angleDelta,
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &event);
    }

    // The frame as shown, without the selection marks and status line painted over it.
    QImage painted() {
        window.SetEditingOverlayShown(false);
        QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        window.SetEditingOverlayShown(true);
        return shown;
    }
    QImage composed() {
        return RenderFrame(window.session(), window.canvasState())
            .convertToFormat(QImage::Format_RGB32);
    }

    const CDesktopInfo& desktop() { return window.session().m_desktop; }

    ScopedWorkDir work;
    CVeradaVodirevDlg window{QStringLiteral("R1")};  // desktop 0: no server
};

struct Moves {
    ItemRect icon;
    QPoint label;
};

Moves dragIconAndLabel(Editor& editor, QPoint iconFrom, QPoint iconTo, QPoint labelFrom,
                       QPoint labelTo) {
    editor.drag(iconFrom, iconTo);
    EXPECT_EQ(editor.window.canvasState().m_nPressedFolder, -1);
    editor.drag(labelFrom, labelTo);
    const CInfoLabel& label = editor.desktop().m_label[0];
    return {editor.desktop().m_arrFolder.at(0).m_rcItem, QPoint(label.m_nX, label.m_nY)};
}

}  // namespace

TEST(FittedWindow, OnALargeScreenTheFrameIsPaintedAsComposed) {
    Editor editor(kLargeScreen);
    EXPECT_FALSE(editor.window.view().IsScaled());
    EXPECT_EQ(editor.window.size(), QSize(1920, 1080 + 40));
    QTest::mouseMove(&editor.window, QPoint(1510, 950));  // a hover frame on the icon
    EXPECT_EQ(editor.painted(), editor.composed());
    // Ctrl+0 has nothing to switch.
    QTest::keyClick(&editor.window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(editor.window.size(), QSize(1920, 1080 + 40));
}

TEST(FittedWindow, DragsAndRightClicksLandWhereTheyWouldAtFullSize) {
    // Scaled by 768 / 1120 on the laptop screen.
    auto fitted = std::make_unique<Editor>(kLaptop);
    const CanvasView& view = fitted->window.view();
    ASSERT_TRUE(view.IsScaled());
    EXPECT_EQ(fitted->window.size(), QSize(1316, 768));
    EXPECT_EQ(fitted->painted(), view.ScaledFrame(fitted->composed()));

    const QPoint iconFrom(1036, 652), iconTo(700, 400);
    const QPoint labelFrom(844, 522), labelTo(600, 300);
    const QPoint iconClick(90, 105), emptyClick(500, 200);
    const Moves scaled = dragIconAndLabel(*fitted, iconFrom, iconTo, labelFrom, labelTo);
    // The icon grabbed at client (1511, 951), 11 and 51 into it, let go at
    // (1021, 584); the label grabbed at (1231, 761), let go at (875, 438).
    EXPECT_EQ(scaled.icon.left, 1021 - 11);
    EXPECT_EQ(scaled.icon.top, 584 - 51);
    EXPECT_EQ(scaled.icon.width(), 32);
    EXPECT_EQ(scaled.label, QPoint(1200 + 875 - 1231, 700 + 438 - 761));

    // The menu opens at the pointer; the point recorded for new items is the client
    // point under it.
    EXPECT_EQ(fitted->rightClick(iconClick), fitted->window.mapToGlobal(iconClick));
    EXPECT_EQ(fitted->window.canvasState().m_nContextFolder, 1);
    const QPoint iconNew(fitted->desktop().m_nNewX, fitted->desktop().m_nNewY);
    EXPECT_EQ(iconNew, QPoint(131, 153));
    fitted->rightClick(emptyClick);
    EXPECT_EQ(fitted->window.canvasState().m_nContextFolder, -1);
    const QPoint emptyNew(fitted->desktop().m_nNewX, fitted->desktop().m_nNewY);

    // Pressing empty canvas still moves the window, not an item.
    QTest::mousePress(&fitted->window, Qt::LeftButton, {}, emptyClick);
    EXPECT_TRUE(fitted->window.canvasState().m_bWindowDrag);
    QTest::mouseRelease(&fitted->window, Qt::LeftButton, {}, emptyClick);

    const auto client = [&view](QPoint widget) { return view.ToClient(widget); };
    const QPoint clientPoints[] = {client(iconFrom), client(iconTo),    client(labelFrom),
                                   client(labelTo),  client(iconClick), client(emptyClick)};
    fitted.reset();

    // The same gestures at 100 %, at the client points.
    Editor full(kLargeScreen);
    ASSERT_FALSE(full.window.view().IsScaled());
    const Moves actual =
        dragIconAndLabel(full, clientPoints[0], clientPoints[1], clientPoints[2], clientPoints[3]);
    EXPECT_EQ(actual.icon.left, scaled.icon.left);
    EXPECT_EQ(actual.icon.top, scaled.icon.top);
    EXPECT_EQ(actual.icon.right, scaled.icon.right);
    EXPECT_EQ(actual.icon.bottom, scaled.icon.bottom);
    EXPECT_EQ(actual.label, scaled.label);
    full.rightClick(clientPoints[4]);
    EXPECT_EQ(full.window.canvasState().m_nContextFolder, 1);
    EXPECT_EQ(QPoint(full.desktop().m_nNewX, full.desktop().m_nNewY), iconNew);
    full.rightClick(clientPoints[5]);
    EXPECT_EQ(QPoint(full.desktop().m_nNewX, full.desktop().m_nNewY), emptyNew);
}

TEST(FittedWindow, CtrlZeroSwitchesToScrollingAtFullSize) {
    Editor editor(kLaptop);
    QTest::keyClick(&editor.window, Qt::Key_0, Qt::ControlModifier);
    const CanvasView& view = editor.window.view();
    ASSERT_FALSE(view.IsScaled());
    EXPECT_EQ(editor.window.size(), kLaptop);

    // A notch of the wheel scrolls down; what is painted is that part of the frame
    // under the strip, which stays in view, beside the scroll bars; a right click
    // names the client point under the pointer.
    const QPoint before = view.ScrollOffset();
    editor.wheel(QPoint(200, 200), QPoint(0, -120));
    const QPoint offset = view.ScrollOffset();
    const QSize shown = view.ViewportSize();
    EXPECT_LT(shown.width(), kLaptop.width());
    EXPECT_EQ(offset.y(), std::min(before.y() + CanvasView::kWheelStep, 1120 - shown.height()));
    const QImage painted = editor.painted();
    const QRect strip(0, 0, shown.width(), 40);
    const QRect canvas(0, 40, shown.width(), shown.height() - 40);
    EXPECT_EQ(painted.copy(strip), editor.composed().copy(strip));
    EXPECT_EQ(painted.copy(canvas), editor.composed().copy(canvas.translated(offset)));
    editor.rightClick(QPoint(300, 300));
    EXPECT_EQ(QPoint(editor.desktop().m_nNewX, editor.desktop().m_nNewY),
              QPoint(300, 300) + offset);

    // Back to fitted: no scrolling, the wheel does nothing.
    QTest::keyClick(&editor.window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(view.IsScaled());
    EXPECT_EQ(editor.window.size(), QSize(1316, 768));
    editor.wheel(QPoint(200, 200), QPoint(0, -120));
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
}

TEST(FittedWindow, TheToolbarButtonsTakeTheScaledStrip) {
    // The strip's 40 rows are about 27 rows of the fitted window: a release at row
    // 28 is on the canvas, one at row 20 on "바탕화면 정리기".
    Editor editor(kLaptop);
    const ItemRect before = editor.desktop().m_arrFolder.at(0).m_rcItem;
    editor.drag(QPoint(60, 28), QPoint(60, 28));
    EXPECT_EQ(editor.desktop().m_arrFolder.at(0).m_rcItem.left, before.left);
    editor.drag(QPoint(60, 20), QPoint(60, 20));
    // The first row of the organiser starts at (W / 2 - 360, H / 2 - 30).
    EXPECT_EQ(editor.desktop().m_arrFolder.at(0).m_rcItem.left, 1920 / 2 - 360);
    EXPECT_EQ(editor.desktop().m_arrFolder.at(0).m_rcItem.top, 1080 / 2 - 30);
}
