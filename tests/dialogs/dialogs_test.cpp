#include "dialogs/context_menu_widget.h"
#include "dialogs/desktop_save_dlg.h"
#include "dialogs/resoluation_dlg.h"

#include "base/text.h"
#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor/context_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace vodirev {
namespace {

TEST(DesktopSaveDlg, OkTakesTheEditCancelKeepsTheTitle) {
    CDesktopSaveDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("저장"));
    EXPECT_EQ(dlg.okButton()->text(), QStringLiteral("확인"));
    EXPECT_EQ(dlg.cancelButton()->text(), QStringLiteral("닫기"));
    EXPECT_TRUE(dlg.okButton()->isDefault());
    ASSERT_NE(dlg.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), QStringLiteral("데스크탑 설정"));
    ASSERT_NE(dlg.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QLabel*>()->text(), QStringLiteral("데스크탑 이름"));

    // The edit shows the title the caller set; OK takes what it holds, even nothing.
    dlg.m_strTitle = toCp949(QStringLiteral("우리 PC방"));
    dlg.show();
    EXPECT_EQ(dlg.titleEdit()->text(), QStringLiteral("우리 PC방"));
    dlg.titleEdit()->clear();
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.m_strTitle, "");

    // Cancel leaves the title as it was.
    dlg.m_strTitle = "room";
    dlg.show();
    dlg.titleEdit()->setText(QStringLiteral("other"));
    QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_strTitle, "room");

    // Enter confirms, Escape cancels, as in any dialog; Hangul comes back as CP949.
    dlg.show();
    dlg.titleEdit()->setText(QStringLiteral("둘째 방"));
    QTest::keyClick(dlg.titleEdit(), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strTitle, toCp949(QStringLiteral("둘째 방")));
    EXPECT_EQ(dlg.m_strTitle.size(), 7u);
    dlg.show();
    dlg.titleEdit()->setText(QStringLiteral("x"));
    QTest::keyClick(dlg.titleEdit(), Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_strTitle, toCp949(QStringLiteral("둘째 방")));
}

// A click on the radio button's indicator (its centre may lie beyond its text).
void ClickRadio(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

TEST(ResoluationDlg, ChoiceIsClearedAtEveryOpening) {
    CResoluationDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("해상도 설정"));
    EXPECT_EQ(dlg.applyButton()->text(), QStringLiteral("적용"));
    EXPECT_EQ(dlg.closeButton()->text(), QStringLiteral("닫기"));
    ASSERT_NE(dlg.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), QStringLiteral("기본 해상도 설정"));
    const QString captions[] = {QStringLiteral("1024 X 768"), QStringLiteral("1280 X 1024"),
                                QStringLiteral("1680 X 1050"), QStringLiteral("1920 X 1080")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dlg.radioButton(i)->text(), captions[i]);
    }

    // Two clicks leave the second; each button gives its own size.
    dlg.show();
    EXPECT_EQ(dlg.m_bChosen, 0);
    ClickRadio(dlg.radioButton(1));
    EXPECT_EQ(dlg.m_nWidth, 1280);
    EXPECT_EQ(dlg.m_nHeight, 1024);
    ClickRadio(dlg.radioButton(2));
    EXPECT_EQ(dlg.m_nWidth, 1680);
    EXPECT_EQ(dlg.m_nHeight, 1050);
    EXPECT_FALSE(dlg.radioButton(1)->isChecked());
    ClickRadio(dlg.radioButton(3));
    ClickRadio(dlg.radioButton(0));
    EXPECT_EQ(dlg.m_nWidth, 1024);
    EXPECT_EQ(dlg.m_nHeight, 768);
    EXPECT_EQ(dlg.m_bChosen, 1);
    QTest::mouseClick(dlg.applyButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // Opened again: nothing chosen or checked, the last size kept; apply reports no choice.
    dlg.show();
    EXPECT_EQ(dlg.m_bChosen, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(dlg.radioButton(i)->isChecked()) << i;
    }
    EXPECT_EQ(dlg.m_nWidth, 1024);
    QTest::mouseClick(dlg.applyButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_bChosen, 0);

    // Run modally: a click then "닫기" returns Cancel.
    QTimer::singleShot(0, &dlg, [&] {
        ClickRadio(dlg.radioButton(3));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_bChosen, 1);
    EXPECT_EQ(dlg.m_nWidth, 1920);
    EXPECT_EQ(dlg.m_nHeight, 1080);
}

TEST(ContextMenuWidget, MenusMatchTheirDataAndFollowTheRouter) {
    CommandRouter router;
    int dispatched = 0;
    router.Route(ID_ADD_TEXT, [&] { dispatched = ID_ADD_TEXT; });
    QWidget parent;

    for (int id : AllContextMenuIds()) {
        std::unique_ptr<QMenu> menu(BuildContextMenu(id, &parent, router));
        ASSERT_NE(menu, nullptr) << id;
        const ContextMenu data = FindContextMenu(id);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(data.entries.size())) << id;
        for (std::size_t i = 0; i < data.entries.size(); ++i) {
            const MenuEntry& entry = data.entries[i];
            QAction* action = actions[static_cast<qsizetype>(i)];
            EXPECT_EQ(action->isSeparator(), entry.separator) << id << " " << i;
            if (!entry.separator) {
                EXPECT_EQ(action->text(), entry.caption()) << id << " " << i;
                EXPECT_EQ(action->data().toInt(), entry.commandId);
                EXPECT_EQ(action->isEnabled(), entry.commandId == ID_ADD_TEXT);
            }
        }
        // The first item is the default one, shown bold.
        EXPECT_EQ(menu->defaultAction(), actions.front()) << id;
        EXPECT_TRUE(actions.front()->font().bold()) << id;
        EXPECT_FALSE(actions.back()->font().bold() && actions.size() > 1) << id;
    }

    std::unique_ptr<QMenu> top(BuildContextMenu(kMenuTop, &parent, router));
    top->actions()[3]->trigger();  // "문구 추가"
    EXPECT_EQ(dispatched, ID_ADD_TEXT);
    EXPECT_EQ(BuildContextMenu(kNoMenu, &parent, router), nullptr);
    EXPECT_EQ(BuildContextMenu(132, &parent, router), nullptr);
}

}  // namespace
}  // namespace vodirev
