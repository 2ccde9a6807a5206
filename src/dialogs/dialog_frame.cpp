#include "dialogs/dialog_frame.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace vodirev {

namespace {

class HangulRowDelegate : public QStyledItemDelegate {
public:
    HangulRowDelegate(int iconSize, QObject* parent)
        : QStyledItemDelegate(parent), m_iconSize(iconSize) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        // The bounding box of Hangul and Latin together, measured on the glyphs drawn:
        // a face without Hangul reports a line shorter than the syllables it borrows.
        const QFontMetrics metrics(option.font);
        const int line =
            std::max(metrics.height(), metrics.boundingRect(QStringLiteral("한글Ág")).height());
        size.setHeight(std::max({size.height(), line + 2, m_iconSize + 2}));
        return size;
    }

private:
    int m_iconSize;
};

}  // namespace

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

void SizeRowsForHangul(QAbstractItemView& view, int iconSize) {
    view.setItemDelegate(new HangulRowDelegate(iconSize, &view));
}

}  // namespace vodirev
