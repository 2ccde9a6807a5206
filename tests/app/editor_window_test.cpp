// The editor window's wiring: start-up sizing, real mouse events reaching the
// canvas controller, the canvas image, and the keys that must not close it.

#include "app/verada_vodirev_dlg.h"
#include "common/temp_dir.h"
#include "dialogs/folder_update_dlg.h"
#include "editor/command_ids.h"
#include "editor/frame_renderer.h"
#include "window_test_images.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vodirev;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;
using vodirev::test::WriteWindowImages;

namespace {

// Desktop 0: a 640 x 480 layout with folder icons at canvas (100, 100) and (300, 100).
void writeDesktop() {
    WriteWindowImages();
    WriteFileBytes("desktop000.xml",
                   "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<desktop>\r\n"
                   "<background name=\"bg\" width=\"640\" height=\"480\">\r\n"
                   "<image>images\\bg.png</image>\r\n</background>\r\n"
                   "<icon name=\"icon1\" x=\"100\" y=\"100\" width=\"64\" height=\"64\"  flag=\"1\""
                   "  type=\"1\" showflag=\"1\" >\r\n<title> A</title>\r\n"
                   "<image> images\\icon.png</image>\r\n<link></link>\r\n<dir></dir>\r\n"
                   "</icon>\r\n"
                   "<icon name=\"icon2\" x=\"300\" y=\"100\" width=\"64\" height=\"64\"  flag=\"2\""
                   "  type=\"1\" showflag=\"1\" >\r\n<title> B</title>\r\n"
                   "<image> images\\icon.png</image>\r\n<link></link>\r\n<dir></dir>\r\n"
                   "</icon>\r\n</desktop>\r\n");
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeDesktop();
        ASSERT_TRUE(m_window.OnInitDialog());
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // A right click through the real context menu, which is then closed unchosen.
    void rightClick(QPoint client) {
        QTimer::singleShot(50, [] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popup->close();
            }
        });
        QTest::mousePress(&m_window, Qt::RightButton, {}, client);
        QTest::mouseRelease(&m_window, Qt::RightButton, {}, client);
    }

    ScopedWorkDir m_work;
    CVeradaVodirevDlg m_window{QStringLiteral("R1")};  // desktop 0: no server
};

}  // namespace

TEST_F(EditorWindowTest, OpensAtTheLayoutsResolutionUnderTheStrip) {
    EXPECT_EQ(m_window.size(), QSize(640, 480 + 40));
    EXPECT_EQ(m_window.session().m_nResWidth, 640);
    EXPECT_EQ(m_window.session().m_desktop.m_nNewX, 500);
    EXPECT_EQ(m_window.session().m_desktop.m_nNewY, 300);

    // Every paint also leaves the desktop-sized top of the frame in the canvas image.
    m_window.grab();
    const QImage& canvas = m_window.canvasImage();
    ASSERT_EQ(canvas.size(), QSize(640, 480));
    EXPECT_EQ(QColor(canvas.pixel(300, 20)), QColor(200, 200, 200));  // the strip
    EXPECT_EQ(QColor(canvas.pixel(116, 156)), QColor(250, 200, 0));   // the icon, 40 lower
}

TEST_F(EditorWindowTest, EnterAndEscapeNeverCloseIt) {
    QTest::keyClick(&m_window, Qt::Key_Escape);
    QTest::keyClick(&m_window, Qt::Key_Return);
    QTest::keyClick(&m_window, Qt::Key_Enter);
    EXPECT_TRUE(m_window.isVisible());
}

TEST_F(EditorWindowTest, DraggingAnIconWithTheMouseMovesIt) {
    // The icon's top-left corner is at client (100, 140).
    QTest::mouseMove(&m_window, QPoint(110, 150));
    QTest::mousePress(&m_window, Qt::LeftButton, {}, QPoint(110, 150));
    QTest::mouseMove(&m_window, QPoint(160, 200));
    QTest::mouseMove(&m_window, QPoint(210, 250));
    QTest::mouseRelease(&m_window, Qt::LeftButton, {}, QPoint(210, 250));

    const ItemRect& rect = m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem;
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.width(), 32);
    EXPECT_EQ(rect.height(), 32);
    EXPECT_EQ(m_window.canvasState().m_nPressedFolder, -1);
}

// Ctrl+Z takes back a whole drag, Ctrl+Y and Ctrl+Shift+Z bring it again; closing
// the window asks only while something is changed, and "아니요" keeps it open.
TEST_F(EditorWindowTest, UndoRedoKeysAndClosingWithChanges) {
    const ItemRect& rect = m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem;
    QTest::mouseMove(&m_window, QPoint(110, 150));
    QTest::mousePress(&m_window, Qt::LeftButton, {}, QPoint(110, 150));
    QTest::mouseMove(&m_window, QPoint(160, 200));
    QTest::mouseMove(&m_window, QPoint(210, 250));
    QTest::mouseRelease(&m_window, Qt::LeftButton, {}, QPoint(210, 250));
    ASSERT_EQ(rect.left, 200);
    EXPECT_EQ(m_window.history().StepCount(), 1);

    QTest::keyClick(&m_window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem.left, 100);
    QTest::keyClick(&m_window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem.left, 200);
    QTest::keyClick(&m_window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&m_window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem.left, 200);

    // The question defaults to "아니요": the window stays.
    QString asked;
    const auto answer = [&asked](QMessageBox::StandardButton button) {
        QTimer::singleShot(50, [&asked, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = box->text();
                EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                box->button(button)->click();
            }
        });
    };
    answer(QMessageBox::No);
    m_window.close();
    EXPECT_EQ(asked, QString::fromUtf8(kLeaveUnsavedQuestion));
    EXPECT_TRUE(m_window.isVisible());

    // Undone back to the start: nothing to lose, no question.
    QTest::keyClick(&m_window, Qt::Key_Z, Qt::ControlModifier);
    asked.clear();
    answer(QMessageBox::Yes);  // answers a wrong question rather than hanging on it
    m_window.close();
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(m_window.isVisible());
    EXPECT_EQ(m_window.result(), QDialog::Rejected);
}

TEST_F(EditorWindowTest, ReleaseOnTheOrganiserButtonArrangesTheIcons) {
    QTest::mouseMove(&m_window, QPoint(50, 20));
    QTest::mousePress(&m_window, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mouseRelease(&m_window, Qt::LeftButton, {}, QPoint(50, 20));

    // The first row starts at (W / 2 - 360, H / 2 - 30).
    const ItemRect& rect = m_window.session().m_desktop.m_arrFolder.at(0).m_rcItem;
    EXPECT_EQ(rect.left, 640 / 2 - 360);
    EXPECT_EQ(rect.top, 480 / 2 - 30);
}

TEST_F(EditorWindowTest, AnOpenFolderEditorAppliesToTheIconRightClickedLast) {
    rightClick(QPoint(110, 150));
    ASSERT_EQ(m_window.canvasState().m_nContextFolder, 0);
    ASSERT_TRUE(m_window.RunCommand(ID_MODIFY_FOLDER));
    // The dialog classes carry no meta-object of their own: find it by its caption.
    CFolderUpdateDlg* editor = nullptr;
    for (QDialog* dialog : m_window.findChildren<QDialog*>()) {
        if (dialog->windowTitle() == QStringLiteral("폴더 정보 수정")) {
            editor = dynamic_cast<CFolderUpdateDlg*>(dialog);
        }
    }
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->nameEdit()->text(), QStringLiteral("A"));

    // While it is open the operator right-clicks the other folder; the apply goes there.
    rightClick(QPoint(310, 150));
    editor->nameEdit()->setText(QStringLiteral("X"));
    editor->findChild<QPushButton*>(QStringLiteral("1"))->click();
    const auto& icons = m_window.session().m_desktop.m_arrFolder;
    EXPECT_EQ(icons.at(0).m_strTitle, "A");
    EXPECT_EQ(icons.at(1).m_strTitle, "X");
    EXPECT_FALSE(editor->isVisible());
}

// The keyboard reaches the selection: Ctrl+A, arrows, Ctrl+D, Delete, Escape, each
// edit one step; Shift+F10 opens the selection's menu with the editing entries after
// the menu's own, behind a separator.
TEST_F(EditorWindowTest, KeysEditTheSelectionAndTheMenusShowTheirShortcuts) {
    const auto& icons = m_window.session().m_desktop.m_arrFolder;
    QTest::mouseClick(&m_window, Qt::LeftButton, {}, QPoint(110, 150));
    ASSERT_EQ(m_window.canvasState().m_selection.size(), 1u);
    QTest::keyClick(&m_window, Qt::Key_Right);
    QTest::keyClick(&m_window, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(icons.at(0).m_rcItem.left, 101);
    EXPECT_EQ(icons.at(0).m_rcItem.top, 110);
    EXPECT_EQ(icons.at(1).m_rcItem.left, 300);

    QTest::keyClick(&m_window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m_window.canvasState().m_selection.size(), 2u);
    // The marks and the status line are shown, never kept in the canvas image.
    m_window.grab();
    EXPECT_EQ(m_window.canvasImage().convertToFormat(QImage::Format_RGB32),
              RenderFrame(m_window.session(), m_window.canvasState())
                  .copy(0, 0, 640, 480)
                  .convertToFormat(QImage::Format_RGB32));
    QTest::keyClick(&m_window, Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(icons.size(), 4u);
    EXPECT_EQ(icons.at(3).m_rcItem.left, 310);
    EXPECT_EQ(icons.at(3).m_nFlag, 4);

    QStringList entries;
    QString popupName;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            popupName = menu->objectName();
            for (QAction* action : menu->actions()) {
                entries << (action->isSeparator() ? QStringLiteral("-")
                                                  : action->text() + QLatin1Char('|') +
                                                        action->shortcut().toString());
            }
            menu->close();
        }
    });
    QTest::keyClick(&m_window, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(popupName, QStringLiteral("folder"));
    ASSERT_GE(entries.size(), 8);
    EXPECT_EQ(entries.mid(0, 5),
              (QStringList{QStringLiteral("폴더 수정하기|"), QStringLiteral("폴더 삭제하기|"),
                           QStringLiteral("폴더이미지 변경|"), QStringLiteral("-"),
                           QStringLiteral("실행 취소|Ctrl+Z")}));
    EXPECT_TRUE(entries.contains(QStringLiteral("삭제|Del")));
    EXPECT_TRUE(entries.contains(QStringLiteral("왼쪽 맞춤|Ctrl+Shift+Left")));

    QTest::keyClick(&m_window, Qt::Key_Delete);
    EXPECT_EQ(icons.size(), 2u);
    QTest::keyClick(&m_window, Qt::Key_Escape);
    EXPECT_TRUE(m_window.canvasState().m_selection.empty());
    EXPECT_TRUE(m_window.isVisible());
    // Nudge, nudge, duplicate, delete: four steps, undone one by one.
    EXPECT_EQ(m_window.history().StepCount(), 4);
    QTest::keyClick(&m_window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(icons.size(), 4u);
    // A menu command that adds an icon shifts nothing under a stale selection.
    QTest::keyClick(&m_window, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(m_window.RunCommand(ID_ADD_FOLDER));
    EXPECT_TRUE(m_window.canvasState().m_selection.empty());
}

// A layout whose icon lies wholly right of the canvas: start-up says how many and,
// answered yes, moves it inside as one step of its own.
TEST(EditorWindowStartup, ItemsOffTheCanvasAreOfferedToBeMovedInside) {
    ScopedWorkDir work;
    WriteWindowImages();
    WriteFileBytes("desktop000.xml",
                   "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<desktop>\r\n"
                   "<background name=\"bg\" width=\"640\" height=\"480\">\r\n"
                   "<image>images\\bg.png</image>\r\n</background>\r\n"
                   "<icon name=\"icon1\" x=\"900\" y=\"100\" width=\"64\" height=\"64\"  flag=\"1\""
                   "  type=\"1\" showflag=\"1\" >\r\n<title> A</title>\r\n"
                   "<image> images\\icon.png</image>\r\n<link></link>\r\n<dir></dir>\r\n"
                   "</icon>\r\n</desktop>\r\n");
    CVeradaVodirevDlg window{QStringLiteral("R1")};
    QString asked;
    QTimer::singleShot(100, [&asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        }
    });
    ASSERT_TRUE(window.OnInitDialog());
    EXPECT_TRUE(asked.contains(QStringLiteral("1개")));
    const ItemRect& rect = window.session().m_desktop.m_arrFolder.at(0).m_rcItem;
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(window.history().StepCount(), 1);
}
