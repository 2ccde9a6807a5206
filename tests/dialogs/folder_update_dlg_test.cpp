// The folder editor on widgets: its rows follow the model, its buttons act on the
// rows selected, and apply or close decide what the window hears.

#include "dialogs/folder_update_dlg.h"

#include "common/cp949.h"
#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "dialogs/icon_insert_dlg.h"
#include "dialogs/icon_update_dlg.h"
#include "editor/apply_messages.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vodirev {
namespace {

struct RecordingHandler : DialogApplyHandler {
    std::vector<FolderUpdateModel> applied;
    void OnFolderApply(const FolderUpdateModel& dialog) override { applied.push_back(dialog); }
};

QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

void Click(CFolderUpdateDlg& dialog, const char* id) {
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

class FolderUpdateDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/icons");
        QDir().mkpath("images/bkicons");
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(SaveBitmapToFile("images/icons/a.png", picture));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/A.png", picture));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/B.png", picture));
        test::WriteFileBytes("LIST_FOLDER.db", "images\\bkicons\\A.png\nimages\\bkicons\\B.png\n");
        FolderUpdateModel& model = dialog.model();
        for (const char* name : {"게임", "웹", "문서"}) {
            CInfoIcon icon;
            icon.m_strName = test::Cp949(name);
            icon.m_strImage = "images\\icons\\a.png";
            icon.m_strDir = "C:\\Apps";
            icon.m_strProgram = "app.exe";
            model.m_arrCatalog.push_back(icon);
        }
        model.m_arrContent.push_back(model.m_arrCatalog.back());
        model.m_arrContent.back().m_nFolder = 4;
        model.m_nFolderNo = 4;
        model.m_strFolderName = "games";
        model.m_strFolderImage = "images\\bkicons\\old.gif";
        model.m_bShowName = 1;
        dialog.show();
        dialog.LoadFolderContents();
    }

    test::ScopedWorkDir work;
    test::FakeCommandUi ui;
    RecordingHandler handler;
    CFolderUpdateDlg dialog{ui, &handler};
};

TEST_F(FolderUpdateDlgTest, ButtonsActOnTheSelectedRowsOfTheirList) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("폴더 정보 수정"));
    EXPECT_EQ(Rows(dialog.imageList()), (QStringList{"A", "B"}));
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"게임", "웹", "문서"}));
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("games"));
    EXPECT_TRUE(dialog.showNameCheck()->isChecked());

    // Rows chosen in both lists: ">>" moves only the catalogue's.
    dialog.catalogList()->item(0)->setSelected(true);
    dialog.catalogList()->item(2)->setSelected(true);
    dialog.contentList()->item(0)->setSelected(true);
    Click(dialog, "1003");
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"웹"}));
    EXPECT_EQ(Rows(dialog.contentList()), (QStringList{"문서", "게임", "문서"}));
    EXPECT_EQ(dialog.model().m_arrContent[1].m_nFolder, 4);

    // Modify with a row in each list: the message, no dialog.
    dialog.catalogList()->item(0)->setSelected(true);
    dialog.contentList()->item(0)->setSelected(true);
    int dialogs = 0;
    ui.onDialog = [&](DialogModel&) { return ++dialogs, true; };
    Click(dialog, "1027");
    EXPECT_EQ(ui.messages, std::vector<QString>{QString::fromUtf8(kSelectOneIconMessage)});
    EXPECT_EQ(dialogs, 0);

    // One row: its program changes; "수정" without a new choice keeps it.
    dialog.contentList()->clearSelection();
    ui.onDialog = [&](DialogModel& model) {
        auto& update = dynamic_cast<IconUpdateModel&>(model);
        EXPECT_EQ(update.m_strFullPath, "C:\\Apps\\app.exe");
        update.m_strDir = "D:\\Web";
        update.m_strProgram = "web.exe";
        return true;
    };
    Click(dialog, "1027");
    EXPECT_EQ(dialog.model().m_arrCatalog[0].m_strProgram, "web.exe");
    EXPECT_EQ(dialog.model().m_arrCatalog[0].m_strDir, "D:\\Web");
    ui.onDialog = [](DialogModel&) { return true; };
    Click(dialog, "1027");
    EXPECT_EQ(dialog.model().m_arrCatalog[0].m_strProgram, "web.exe");

    // A registration joins the catalogue.
    ui.onDialog = [](DialogModel& model) {
        auto& insert = dynamic_cast<IconInsertModel&>(model);
        insert.m_strName = "new";
        insert.m_strImage = "images\\icons\\a.png";
        insert.m_strProgram = "new.exe";
        return true;
    };
    Click(dialog, "1018");
    EXPECT_EQ(Rows(dialog.catalogList()), (QStringList{"웹", "new"}));
}

TEST_F(FolderUpdateDlgTest, ApplyHandsTheEditsOverCloseDropsThem) {
    // Delete everything, then close: the window hears nothing.
    dialog.contentList()->selectAll();
    dialog.catalogList()->selectAll();
    Click(dialog, "1037");
    EXPECT_EQ(dialog.catalogList()->count() + dialog.contentList()->count(), 0);
    Click(dialog, "2");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(handler.applied.empty());

    // Image A, then B, then B deselected: B is the image named last.
    dialog.show();
    dialog.LoadFolderContents();
    EXPECT_EQ(dialog.model().m_nSelImage, -1);
    dialog.imageList()->item(0)->setSelected(true);
    dialog.imageList()->item(1)->setSelected(true);
    dialog.imageList()->item(1)->setSelected(false);
    dialog.nameEdit()->setText(QStringLiteral("A&B<C>"));
    dialog.showNameCheck()->setChecked(false);
    Click(dialog, "1");
    ASSERT_EQ(handler.applied.size(), 1u);
    const FolderUpdateModel& applied = handler.applied.front();
    EXPECT_EQ(applied.m_strFolderImage, "images\\bkicons\\B.png");
    EXPECT_EQ(applied.m_strFolderName, "A&B<C>");
    EXPECT_EQ(applied.m_bShowName, 0);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace vodirev
