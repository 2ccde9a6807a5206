// Undo and redo of every kind of change, through the same paths the window takes:
// the canvas controller for drags and the toolbar, the command table for the menu
// commands, the apply functions for the dialogs.

#include "editor/edit_history.h"

#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "document/layout_writer.h"
#include "document/list_files.h"
#include "editor/apply_messages.h"
#include "editor/background_choice.h"
#include "editor/base_folder_model.h"
#include "editor/canvas_controller.h"
#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor/desktop_commands.h"
#include "editor/direct_folder_model.h"
#include "editor/folder_update_model.h"
#include "editor/label_font.h"
#include "editor_test_util.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QDir>
#include <functional>
#include <memory>

namespace vodirev {
namespace {

using test::Cp949;

CInfoIcon MenuIcon(int folder, const std::string& name, const std::string& dir = "C:\\x") {
    CInfoIcon icon;
    icon.m_nFolder = folder;
    icon.m_strImage = "images\\icons\\app.png";
    icon.m_strName = name;
    icon.m_strDir = dir;
    icon.m_strProgram = name + ".exe";
    return icon;
}

class EditHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder :
             {"images/bkicons", "images/icons", "images/background", "images/user", "chosen"}) {
            QDir().mkpath(QString::fromLatin1(folder));
        }
        // The two launcher shapes differ in size, as the installation's do.
        ASSERT_TRUE(
            SaveBitmapToFile("images/bkicons/launcherA.bmp", test::Solid(200, 40, 0xFF203040)));
        ASSERT_TRUE(
            SaveBitmapToFile("images/bkicons/launcherB.bmp", test::Solid(40, 200, 0xFF203040)));
        ASSERT_TRUE(SaveBitmapToFile("images/icons/app.png", test::Solid(32, 32, 0xFF00AA00)));
        ASSERT_TRUE(
            SaveBitmapToFile("images/background/b2.png", test::Solid(160, 160, 0xFF0000AA)));
        session = test::MakeSession(800, 600);
        session.m_nDesktop = 1;
        test::AddIcon(session, kTypeFolder, 100, 100, test::Solid(64, 64, 0xFFFFAA00), "games")
            .m_nFlag = 3;
        test::AddIcon(session, kTypeShortcut, 200, 100, test::Solid(64, 64, 0xFF00AAFF), "home")
            .m_nFlag = 4;
        test::AddIcon(session, kTypeRecycleBin, 100, 300, test::Solid(64, 64, 0xFF888888), "bin")
            .m_nFlag = 5;
        test::AddIcon(session, kTypeControlPanel, 200, 300, test::Solid(64, 64, 0xFF444444),
                      "panel")
            .m_nFlag = 6;
        test::SetLabel(session, 0, 300, 200, Cp949("요금 안내"));
        test::AddPicture(session, 500, 400, test::Solid(50, 50, 0xFFAA00AA)).m_strPath =
            "images\\user\\1_a.png";
        session.m_arrMenu = {MenuIcon(3, "in"), MenuIcon(0, "one"), MenuIcon(0, "two")};
        session.m_arrSysMenu = {MenuIcon(6, "printers", "SYSTEM"), MenuIcon(0, "mouse", "SYSTEM")};
        session.m_pLauncherBitmap = LoadImageBitmap("images/bkicons/launcherA.bmp");
        session.m_nLauncherX = 20;
        session.m_nLauncherY = 500;
        RouteIconCommands(router, {session, state, ui}, [](const CommandOutcome&) {});
        RouteDesktopCommands(router, {session, state, ui, background},
                             [](const CommandOutcome&) {});
        history = std::make_unique<EditHistory>(session);
        RecordDispatchedCommands(router, *history);
    }

    // Everything saving writes from the editor's state: the layout, the menu
    // records and the launcher line.
    std::string WireText() const {
        std::string text =
            BuildLayoutText(session.m_desktop, session.m_nResWidth, session.m_nResHeight, true);
        for (const CInfoIcon& icon : session.m_arrMenu) {
            text += MenuLine(icon);
        }
        for (const CInfoIcon& icon : session.m_arrSysMenu) {
            text += SysMenuLine(icon);
        }
        return text +
               LauncherLine(session.m_nLauncherX, session.m_nLauncherY, session.m_nLauncherType);
    }

    // A press, two movements and a release, bracketed as the window brackets them.
    void Drag(QPoint from, QPoint to) {
        CanvasController controller(session, state);
        history->Begin();
        controller.OnMouseMove(from);
        controller.OnLButtonDown(from);
        controller.OnMouseMove((from + to) / 2);
        controller.OnMouseMove(to);
        controller.OnLButtonUp(to);
        history->End(QStringLiteral("drag"));
    }

    QString Chosen(const char* name, int width, int height) {
        const QString path = QDir::current().filePath(QStringLiteral("chosen/") + name);
        EXPECT_TRUE(SaveBitmapToFile(path, test::Solid(width, height, 0xFF3366CC)));
        return path;
    }

    // One change makes exactly one step; undo gives back the state and the saved
    // bytes from before, redo those from after.
    void ExpectOneStep(const char* what, const std::function<void()>& edit) {
        SCOPED_TRACE(what);
        const DocumentState before = CaptureDocument(session);
        const std::string wireBefore = WireText();
        const int steps = history->StepCount();
        edit();
        ASSERT_EQ(history->StepCount(), steps + 1);
        const DocumentState after = CaptureDocument(session);
        const std::string wireAfter = WireText();
        ASSERT_FALSE(after == before);

        ASSERT_TRUE(history->Undo());
        EXPECT_TRUE(CaptureDocument(session) == before);
        EXPECT_EQ(WireText(), wireBefore);
        ASSERT_TRUE(history->Redo());
        EXPECT_TRUE(CaptureDocument(session) == after);
        EXPECT_EQ(WireText(), wireAfter);
        EXPECT_FALSE(history->CanRedo());
    }

    test::ScopedWorkDir work;
    DesktopSession session;
    CanvasState state;
    test::FakeCommandUi ui;
    BackgroundChoice background;
    CommandRouter router;
    std::unique_ptr<EditHistory> history;
};

TEST_F(EditHistoryTest, EveryKindOfChangeIsOneStepThatUndoesAndRedoesExactly) {
    IconPictures pictures;
    // Drags (client points: the canvas is 40 pixels lower) and the toolbar.
    ExpectOneStep("icon drag", [&] { Drag({110, 150}, {400, 420}); });
    ExpectOneStep("label drag", [&] { Drag({305, 245}, {355, 305}); });
    ExpectOneStep("picture drag", [&] { Drag({510, 450}, {610, 480}); });
    ExpectOneStep("launcher drag", [&] { Drag({30, 510}, {90, 530}); });
    ExpectOneStep("organiser", [&] { Drag({50, 20}, {50, 20}); });
    ExpectOneStep("resolution", [&] {
        history->Record(QStringLiteral("res"),
                        [&] { CanvasController(session, state).ApplyResolution(1024, 768); });
    });

    // Creates, deletes and a new image through the command table.
    ExpectOneStep("new folder", [&] { router.Dispatch(ID_ADD_FOLDER); });
    ExpectOneStep("my computer", [&] { router.Dispatch(ID_SHOW_MY_COMPUTER); });
    ExpectOneStep("folder image", [&] {
        state.m_nContextFolder = 0;
        ui.files = {Chosen("f.png", 48, 48)};
        router.Dispatch(ID_CHANGE_FOLDER_IMAGE);
    });

    // The four folder-type dialogs, with the menu records they rebuild.
    ExpectOneStep("folder editor", [&] {
        FolderUpdateModel model;
        FillFolderUpdate(model, session, session.m_desktop.m_arrFolder[0]);
        LoadFolderContents(model, pictures);
        MoveIcons(model, FolderList::Catalog, {0, 1}, pictures);
        history->Record(QString(), [&] { ApplyFolderUpdate(session, 0, model); });
    });
    ExpectOneStep("shortcut dialog", [&] {
        DirectFolderModel model;
        FillDirectFolder(model, session, session.m_desktop.m_arrFolder[1]);
        model.m_strFolderName = "web";
        model.m_strLink = "http://example.com/";
        history->Record(QString(), [&] { ApplyShortcut(session, 1, model); });
    });
    ExpectOneStep("base folder dialog", [&] {
        BaseFolderModel model;
        FillBaseFolder(model, session.m_desktop.m_arrFolder[2]);
        model.m_strFolderName = "trash";
        history->Record(QString(), [&] { ApplyBaseFolder(session, 2, model); });
    });
    ExpectOneStep("control panel dialog", [&] {
        SystemFolderModel model;
        FillSystemFolder(model, session, session.m_desktop.m_arrFolder[3]);
        LoadSystemFolderContents(model, pictures);
        model.m_nSelCatalogRow = 0;
        MoveSystemEntry(model, FolderList::Catalog, pictures);
        history->Record(QString(), [&] { ApplySystemFolder(session, 3, model); });
    });

    // Labels: add, text, font, colour, delete.
    ExpectOneStep("new label", [&] { router.Dispatch(ID_ADD_TEXT); });
    ExpectOneStep("label text", [&] {
        ui.onDialog = [](DialogModel& model) {
            auto& text = dynamic_cast<LabelTextModel&>(model);
            text.m_strText = "one\r\ntwo\r\nthree";
            text.m_bApplied = true;
            return true;
        };
        state.m_nActiveText = 1;
        router.Dispatch(ID_MODIFY_TEXT);
    });
    ExpectOneStep("label font", [&] {
        ui.onDialog = [](DialogModel& model) {
            auto& font = dynamic_cast<UserFontModel&>(model);
            font.m_strFont = Cp949("바탕");
            font.m_nWeight = 700;
            font.m_strSize = "36";
            return true;
        };
        state.m_nActiveText = 1;
        router.Dispatch(ID_CHANGE_FONT);
    });
    ExpectOneStep("label colour", [&] {
        ui.colours = {QColor(10, 200, 30)};
        state.m_nActiveText = 1;
        router.Dispatch(ID_CHANGE_COLOR);
    });
    ExpectOneStep("label delete", [&] {
        state.m_nActiveText = 0;
        router.Dispatch(ID_DELETE_TEXT);
    });

    // Pictures, backgrounds, the launcher shape.
    ExpectOneStep("new picture", [&] {
        ui.files = {Chosen("p.png", 30, 20)};
        router.Dispatch(ID_ADD_PICTURE);
    });
    ExpectOneStep("picture delete", [&] {
        state.m_nActiveImage = 0;
        router.Dispatch(ID_DELETE_PICTURE);
    });
    ExpectOneStep("background choice", [&] {
        ui.onDialog = [](DialogModel& model) {
            auto& choice = dynamic_cast<BackgroundChoice&>(model);
            choice.m_nSelRow = 0;
            choice.m_strSelImage = "images\\background\\b2.png";
            return true;
        };
        router.Dispatch(ID_SET_BACKGROUND);
    });
    ExpectOneStep("background addition", [&] {
        ui.files = {Chosen("bg.png", 300, 200)};
        router.Dispatch(ID_ADD_BACKGROUND);
    });
    ExpectOneStep("launcher shape", [&] { router.Dispatch(ID_CHANGE_LAUNCHER); });
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().toStdString();

    // Undoing everything gives back the start, with the same bytes to save.
    while (history->Undo()) {
    }
    EXPECT_FALSE(history->IsModified());
    EXPECT_EQ(session.m_nResWidth, 800);
    EXPECT_EQ(session.m_desktop.m_arrFolder.size(), 4u);
    EXPECT_EQ(session.m_arrMenu[1].m_nFolder, 0);
}

TEST_F(EditHistoryTest, AHundredStepsAreKeptAndANewEditDropsTheRedoSteps) {
    // Nothing changed: no step, nothing modified (a dialog closed, a click on nothing).
    ui.onDialog = [](DialogModel&) { return false; };
    state.m_nActiveText = 0;
    router.Dispatch(ID_MODIFY_TEXT);
    Drag({700, 100}, {700, 100});
    EXPECT_EQ(history->StepCount(), 0);
    EXPECT_FALSE(history->IsModified());

    for (int i = 1; i <= 150; ++i) {
        history->Record(QString(), [&] { session.m_nLauncherX = i; });
    }
    EXPECT_GE(history->StepLimit(), EditHistory::kMinSteps);
    int undone = 0;
    while (undone < 100 && history->Undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(session.m_nLauncherX, 50);
    ASSERT_TRUE(history->Redo());
    EXPECT_EQ(session.m_nLauncherX, 51);

    // A new edit after undoing: the undone steps are gone, the new one is next.
    router.Dispatch(ID_CHANGE_LAUNCHER);
    EXPECT_FALSE(history->CanRedo());
    ASSERT_TRUE(history->Undo());
    EXPECT_EQ(session.m_nLauncherType, 0);
    EXPECT_EQ(session.m_nLauncherX, 51);

    // Where the next icon goes is no edit and survives undo.
    session.m_desktop.m_nNewX = 321;
    ASSERT_TRUE(history->Undo());
    EXPECT_EQ(session.m_desktop.m_nNewX, 321);

    // Undo inside an open bracket (a drag under way) is refused.
    history->Begin();
    EXPECT_FALSE(history->Undo());
    history->End(QString());
}

TEST_F(EditHistoryTest, TargetsThatNoLongerNameAnItemAreDropped) {
    state.m_nContextFolder = 1;
    router.Dispatch(ID_ADD_FOLDER);
    state.m_nContextFolder = 4;  // the new folder
    state.m_nActiveText = 0;
    state.m_nActiveImage = 0;
    state.m_nHoverFolder = 4;
    ASSERT_TRUE(history->Undo());
    DropStaleTargets(session, state);
    EXPECT_EQ(state.m_nContextFolder, -1);
    EXPECT_EQ(state.m_nHoverFolder, -1);
    EXPECT_EQ(state.m_nActiveText, 0);   // the label is still there
    EXPECT_EQ(state.m_nActiveImage, 0);  // and the picture
    session.m_desktop.m_bLabelUsed[0] = 0;
    DropStaleTargets(session, state);
    EXPECT_EQ(state.m_nActiveText, -1);
}

}  // namespace
}  // namespace vodirev
