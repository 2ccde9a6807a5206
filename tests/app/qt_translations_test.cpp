// Qt's own dialogs speak Korean whatever the system locale, Korean included.

#include "app/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace vodirev;

namespace {

bool HasHangul(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(QtTranslations, MessageBoxButtonsAndFileDialogLabelsAreKorean) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Korean, QLocale::SouthKorea),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        SCOPED_TRACE(locale.name().toStdString());
        std::unique_ptr<QTranslator> translator = LoadQtTranslator(locale);
        ASSERT_NE(translator, nullptr);
        QCoreApplication::installTranslator(translator.get());

        QMessageBox box(QMessageBox::Question, QStringLiteral("제목"), QStringLiteral("본문"),
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        for (QAbstractButton* button : box.buttons()) {
            EXPECT_TRUE(HasHangul(button->text())) << button->text().toStdString();
        }

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(label, nullptr) << name;
            EXPECT_TRUE(HasHangul(label->text())) << label->text().toStdString();
        }
        QCoreApplication::removeTranslator(translator.get());
    }
}
