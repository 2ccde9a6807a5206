// The text and font dialogs of the labels: Enter in and outside the text field, the
// text's bytes through an unchanged edit, and the font lists over their model.

#include "dialogs/text_dlg.h"
#include "dialogs/user_font_dialog.h"

#include "common/cp949.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vodirev {
namespace {

using test::Cp949;

// Runs action once the modal dialog is up.
void WhenShown(QDialog& dialog, std::function<void()> action) {
    QTimer::singleShot(0, &dialog, [&dialog, action = std::move(action)] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        action();
    });
}

TEST(TextDialog, EnterBreaksLinesInTheFieldAndNeverApplies) {
    CTextDlg dialog;
    LabelTextModel model;
    model.m_strText = Cp949("요금\r\n안내");
    WhenShown(dialog, [&dialog] {
        QPlainTextEdit* edit = dialog.textEdit();
        EXPECT_EQ(edit->toPlainText(), QStringLiteral("요금\n안내"));
        edit->moveCursor(QTextCursor::End);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, QStringLiteral("abc"));
        // Enter on a button or on the dialog does not apply.
        auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("1"));
        apply->setFocus();
        QTest::keyClick(apply, Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Enter);
        EXPECT_TRUE(dialog.isVisible());
        apply->click();
    });
    ASSERT_TRUE(dialog.Run(model));
    EXPECT_TRUE(model.m_bApplied);
    EXPECT_EQ(model.m_strText, Cp949("요금\r\n안내\r\nabc"));

    // Left as it was, the text keeps bytes that are no CP949 character.
    model.m_strText = std::string("A\xFF\x01\r\nB", 6);
    model.m_bApplied = false;
    WhenShown(dialog, [&dialog] { dialog.findChild<QPushButton*>(QStringLiteral("1"))->click(); });
    ASSERT_TRUE(dialog.Run(model));
    EXPECT_EQ(model.m_strText, std::string("A\xFF\x01\r\nB", 6));

    // "닫기" leaves the model as it was.
    WhenShown(dialog, [&dialog] {
        dialog.textEdit()->setPlainText(QStringLiteral("x"));
        dialog.findChild<QPushButton*>(QStringLiteral("2"))->click();
    });
    model.m_bApplied = false;
    EXPECT_FALSE(dialog.Run(model));
    EXPECT_FALSE(model.m_bApplied);
    EXPECT_EQ(model.m_strText, std::string("A\xFF\x01\r\nB", 6));
}

TEST(FontDialog, ListsOpenOnTheLabelsValuesAndSelectionsChangeThem) {
    UserFontModel model;
    model.m_strFont = "Arial";  // not one of the nine
    model.m_nWeight = 400;
    model.m_nHeight = -95;
    {
        CUserFontDialog dialog(model);
        ASSERT_EQ(dialog.faceList()->count(), 9);
        EXPECT_EQ(dialog.faceList()->item(8)->text(), QStringLiteral("맑은 고딕"));
        ASSERT_EQ(dialog.sizeList()->count(), 16);
        EXPECT_EQ(dialog.sizeList()->item(5)->text(), QStringLiteral("14"));
        EXPECT_TRUE(dialog.faceList()->selectedItems().isEmpty());
        EXPECT_TRUE(dialog.sizeList()->selectedItems().isEmpty());
        EXPECT_EQ(dialog.styleList()->currentRow(), 0);
        EXPECT_EQ(dialog.sizeEdit()->text(), QStringLiteral("72"));

        dialog.sizeList()->setCurrentRow(13);
        EXPECT_EQ(dialog.sizeEdit()->text(), QStringLiteral("36"));
        EXPECT_EQ(model.m_nHeight, -48);
        dialog.styleList()->setCurrentRow(1);
        EXPECT_EQ(model.m_nWeight, 700);
        EXPECT_EQ(model.m_strFont, "Arial");  // a size alone keeps the face
        dialog.faceList()->setCurrentRow(3);
        EXPECT_EQ(model.m_strFont, Cp949("궁서체"));
        dialog.sizeEdit()->setText(QStringLiteral("30"));
        dialog.accept();
        EXPECT_EQ(model.m_strSize, "30");
    }

    // Cancelled, the caller's model is untouched.
    UserFontModel kept;
    kept.m_nHeight = -17;
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = dynamic_cast<CUserFontDialog*>(top); dialog && dialog->isVisible()) {
                EXPECT_EQ(dialog->sizeEdit()->text(), QStringLiteral("13"));
                dialog->sizeList()->setCurrentRow(0);
                dialog->reject();
            }
        }
    });
    EXPECT_FALSE(RunUserFontDialog(kept, nullptr));
    EXPECT_EQ(kept.m_nHeight, -17);
}

// The face list's Hangul rows do not overlap: each row, as laid out on the shown
// dialog, is at least as tall as the drawn Hangul line and starts below the last.
TEST(FontDialog, FaceListRowsHoldAHangulLineEach) {
    UserFontModel model;
    CUserFontDialog dialog(model);
    dialog.show();
    QListWidget* list = dialog.faceList();
    const int hangul =
        QFontMetrics(list->font()).boundingRect(QStringLiteral("맑은 고딕")).height();
    int lastBottom = -1;
    for (int row = 0; row < list->count(); ++row) {
        const QRect rect = list->visualItemRect(list->item(row));
        EXPECT_GE(rect.height(), hangul) << row;
        EXPECT_GT(rect.top(), lastBottom) << row;
        lastBottom = rect.bottom();
    }
}

}  // namespace
}  // namespace vodirev
