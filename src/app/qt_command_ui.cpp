#include "app/qt_command_ui.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vodirev {

void QtCommandUi::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtCommandUi::AskYesNo(const QString& text, bool defaultYes) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("예"));
    box.button(QMessageBox::No)->setText(QStringLiteral("아니요"));
    return box.exec() == QMessageBox::Yes;
}

QString QtCommandUi::ChooseOpenFile(const QString& caption, const QString& filter) {
    // Relative paths of every list and layout are taken from the working folder;
    // no file dialog may leave another folder current.
    const QString workDir = QDir::currentPath();
    const QString chosen = QFileDialog::getOpenFileName(m_parent, caption, workDir, filter);
    QDir::setCurrent(workDir);
    return chosen;
}

std::optional<QColor> QtCommandUi::ChooseColor(const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, m_parent);
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

bool QtCommandUi::RunDialog(DialogModel& model) {
    const auto runner = m_runners.find(typeid(model));
    return runner != m_runners.end() && runner->second(model);
}

}  // namespace vodirev
