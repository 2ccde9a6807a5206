#include "dialogs/dialog_frame.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vodirev {

void SetUpDialog(QDialog& dialog, const QString& caption) {
    dialog.setWindowTitle(caption);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setFont(QFont(QStringLiteral("굴림체"), 9));
}

std::vector<QPushButton*> AddButtonColumn(QDialog& dialog, QWidget* content,
                                          std::initializer_list<QString> captions) {
    std::vector<QPushButton*> buttons;
    auto* column = new QVBoxLayout;
    for (const QString& caption : captions) {
        auto* button = new QPushButton(caption, &dialog);
        const bool first = buttons.empty();
        if (buttons.size() < 2) {
            button->setObjectName(QString::number(buttons.size() + 1));
        }
        button->setDefault(first);
        button->setAutoDefault(first);
        column->addWidget(button);
        buttons.push_back(button);
    }
    column->addStretch(1);
    auto* layout = new QHBoxLayout(&dialog);
    layout->addWidget(content, 1);
    layout->addLayout(column);
    return buttons;
}

}  // namespace vodirev
