// The shortcut, base folder and control panel dialogs on widgets: controls map to
// their model, apply hands it to the window, close does not.

#include "dialogs/direct_folder_dlg.h"
#include "dialogs/s_folder_dlg.h"
#include "dialogs/system_dlg.h"

#include "common/cp949.h"
#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "editor/apply_messages.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace vodirev {
namespace {

struct RecordingHandler : DialogApplyHandler {
    std::vector<DirectFolderModel> shortcuts;
    std::vector<BaseFolderModel> baseFolders;
    std::vector<SystemFolderModel> systems;
    void OnFolderApply(const FolderUpdateModel&) override {}
    void OnShortcutApply(const DirectFolderModel& dialog) override { shortcuts.push_back(dialog); }
    void OnBaseFolderApply(const BaseFolderModel& dialog) override {
        baseFolders.push_back(dialog);
    }
    void OnSystemApply(const SystemFolderModel& dialog) override { systems.push_back(dialog); }
};

QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

void Click(QDialog& dialog, const char* id) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

class SpecialFolderDlgs : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/bkicons");
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/A.png", picture));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/B.png", picture));
        test::WriteFileBytes("LIST_FOLDER.db", "images\\bkicons\\A.png\nimages\\bkicons\\B.png\n");
    }

    test::ScopedWorkDir work;
    test::FakeCommandUi ui;
    RecordingHandler handler;
};

TEST_F(SpecialFolderDlgs, ShortcutLinkEditFollowsTheRadioButtons) {
    CDirectFolderDlg dialog(ui, &handler);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("바로가기 아이콘 설정"));
    dialog.model().m_strFolderName = "web";
    dialog.model().m_strLink = "http://a";
    dialog.model().m_strFolderImage = "images\\bkicons\\old.gif";
    dialog.show();
    dialog.LoadShortcutImages();
    EXPECT_EQ(Rows(dialog.imageList()), (QStringList{"A", "B"}));
    EXPECT_EQ(dialog.linkEdit()->text(), QStringLiteral("http://a"));
    EXPECT_FALSE(dialog.linkEdit()->isEnabled());
    Click(dialog, "1011");
    EXPECT_TRUE(dialog.linkEdit()->isEnabled());

    // A program chosen puts the unapplied name back.
    dialog.nameEdit()->setText(QStringLiteral("typed"));
    ui.files.push_back(QStringLiteral("/apps/a.bat"));  // outside every client drive
    Click(dialog, "1009");
    EXPECT_EQ(dialog.linkEdit()->text(), QStringLiteral("a.bat"));
    EXPECT_TRUE(dialog.clientPathEdit()->isEnabled());
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("web"));

    // Close sends nothing; reopening disables the edit with "URL 선택" still marked.
    Click(dialog, "2");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(handler.shortcuts.empty());
    dialog.show();
    dialog.LoadShortcutImages();
    EXPECT_TRUE(dialog.urlButton()->isChecked());
    EXPECT_FALSE(dialog.linkEdit()->isEnabled());

    dialog.imageList()->item(1)->setSelected(true);
    dialog.nameEdit()->setText(QStringLiteral("A&B"));
    dialog.showNameCheck()->setChecked(false);
    Click(dialog, "1");  // the folder on the client PCs is asked for first
    EXPECT_TRUE(handler.shortcuts.empty());
    dialog.clientPathEdit()->setText(QStringLiteral("D:\\apps\\a.bat"));
    Click(dialog, "1");
    ASSERT_EQ(handler.shortcuts.size(), 1u);
    EXPECT_EQ(handler.shortcuts[0].m_strFolderImage, "images\\bkicons\\B.png");
    EXPECT_EQ(handler.shortcuts[0].m_strFolderName, "A&B");
    EXPECT_EQ(handler.shortcuts[0].m_strLink, "D:\\apps\\a.bat");  // the client path given
    EXPECT_EQ(handler.shortcuts[0].m_bShowName, 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SpecialFolderDlgs, BaseFolderAppliesNameAndKeepsTheImageUnchosen) {
    CSFolderDlg dialog(&handler);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("기본 폴더"));
    dialog.model().m_strFolderName = test::Cp949("내 컴퓨터");
    dialog.model().m_strFolderImage = "images\\bkicons\\old.gif";
    dialog.model().m_bShowName = 1;
    dialog.show();
    dialog.LoadBaseFolderImages();
    EXPECT_EQ(Rows(dialog.imageList()), (QStringList{"A", "B"}));
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("내 컴퓨터"));
    EXPECT_TRUE(dialog.showNameCheck()->isChecked());
    Click(dialog, "2");
    EXPECT_TRUE(handler.baseFolders.empty());
    dialog.show();
    Click(dialog, "1");
    ASSERT_EQ(handler.baseFolders.size(), 1u);
    EXPECT_EQ(handler.baseFolders[0].m_strFolderImage, "images\\bkicons\\old.gif");
    EXPECT_EQ(handler.baseFolders[0].m_strFolderName, test::Cp949("내 컴퓨터"));
}

TEST_F(SpecialFolderDlgs, ControlPanelMovesTheRowLastChosenInItsSourceList) {
    CSystemDlg dialog(&handler);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("제어판 폴더"));
    SystemFolderModel& model = dialog.model();
    for (const char* name : {"printer", "mouse", "sound"}) {
        CInfoIcon entry;
        entry.m_strName = name;
        entry.m_strImage = "images\\icons\\missing.ico";
        model.m_arrCatalog.push_back(entry);
    }
    model.m_arrContent.push_back(model.m_arrCatalog.back());
    model.m_arrContent.back().m_nFolder = 1;
    model.m_arrCatalog.pop_back();
    dialog.show();
    dialog.LoadSystemFolderContents();
    EXPECT_EQ(Rows(dialog.imageList()), (QStringList{"", ""}));
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"printer", "mouse"}));

    // Two catalogue rows highlighted, then a row of the control panel chosen: ">>"
    // moves the catalogue row named last, once.
    dialog.catalogList()->item(0)->setSelected(true);
    dialog.catalogList()->item(1)->setSelected(true);
    dialog.contentList()->item(0)->setSelected(true);
    Click(dialog, "1003");
    Click(dialog, "1003");
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"printer"}));
    EXPECT_EQ(Rows(dialog.contentList()), (QStringList{"sound", "mouse"}));
    EXPECT_EQ(model.m_arrContent.back().m_nFolder, 1);
    Click(dialog, "1004");  // the control panel's own row, still chosen
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"printer", "sound"}));
    EXPECT_EQ(model.m_arrCatalog.back().m_nFolder, 0);

    Click(dialog, "2");
    EXPECT_TRUE(handler.systems.empty());
    dialog.show();
    Click(dialog, "1");
    ASSERT_EQ(handler.systems.size(), 1u);
    EXPECT_EQ(handler.systems[0].m_arrContent.size(), 1u);
    EXPECT_FALSE(dialog.isVisible());
}

// A first row without an icon does not make every row a line of Latin high.
TEST_F(SpecialFolderDlgs, ControlPanelRowsFitAnIconWhateverTheFirstRowHolds) {
    CSystemDlg dialog(&handler);
    CInfoIcon entry;
    entry.m_strName = test::Cp949("프린터");
    entry.m_strImage = "images\\icons\\missing.ico";
    dialog.model().m_arrCatalog.push_back(entry);
    entry.m_strImage = "images\\bkicons\\A.png";
    dialog.model().m_arrCatalog.push_back(entry);
    dialog.show();
    dialog.LoadSystemFolderContents();
    QListWidget* list = dialog.catalogList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_GE(list->visualItemRect(list->item(0)).height(), 32);
    EXPECT_GE(list->visualItemRect(list->item(1)).height(), 32);
}

}  // namespace
}  // namespace vodirev
