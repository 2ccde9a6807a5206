#include "dialogs/user_font_dialog.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vodirev {

namespace {

QListWidget* AddListGroup(QGridLayout* grid, int column, const QString& caption, const char* id,
                          QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(group);
    auto* list = new QListWidget(group);
    list->setObjectName(QString::fromLatin1(id));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    SizeRowsForHangul(*list);
    layout->addWidget(list);
    grid->addWidget(group, 0, column, column == 2 ? 1 : 2, 1);
    return list;
}

void SelectRow(QListWidget* list, int row) {
    const QSignalBlocker quiet(list);
    list->setCurrentRow(row);  // -1: no row
    if (row < 0) {
        list->clearSelection();
    }
}

}  // namespace

CUserFontDialog::CUserFontDialog(UserFontModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    SetUpDialog(*this, QStringLiteral("폰트 수정"));
    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    m_listFace = AddListGroup(grid, 0, QStringLiteral("글꼴 선택"), "1031", content);
    m_listStyle = AddListGroup(grid, 1, QStringLiteral("글꼴스타일 선택"), "1035", content);
    m_listSize = AddListGroup(grid, 2, QStringLiteral("글꼴크기 보기"), "1034", content);
    auto* sizeGroup = new QGroupBox(QStringLiteral("글꼴크기 선택"), content);
    auto* sizeLayout = new QVBoxLayout(sizeGroup);
    m_editSize = new QLineEdit(sizeGroup);
    m_editSize->setObjectName(QStringLiteral("1036"));
    sizeLayout->addWidget(m_editSize);
    grid->addWidget(sizeGroup, 1, 2);

    // Rows at fixed positions, in the order of the tables.
    for (const char* face : kFontFaces) {
        m_listFace->addItem(QString::fromUtf8(face));
    }
    m_listStyle->addItems({QStringLiteral("보통"), QStringLiteral("굵게")});
    for (const FontSizeRow& size : kFontSizeRows) {
        m_listSize->addItem(QString::fromLatin1(size.text));
    }

    InitUserFont(m_model);
    SelectRow(m_listFace, m_model.m_nFaceRow);
    SelectRow(m_listStyle, m_model.m_nStyleRow);
    SelectRow(m_listSize, m_model.m_nSizeRow);
    m_editSize->setText(fromCp949(m_model.m_strSize));

    connect(m_listFace, &QListWidget::currentRowChanged, this,
            [this](int row) { OnFaceRow(m_model, row); });
    connect(m_listStyle, &QListWidget::currentRowChanged, this,
            [this](int row) { OnStyleRow(m_model, row); });
    connect(m_listSize, &QListWidget::currentRowChanged, this, [this](int row) {
        OnSizeRow(m_model, row);
        m_editSize->setText(fromCp949(m_model.m_strSize));
    });

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("수정"), QStringLiteral("닫기")});
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    resize(470, 230);
}

void CUserFontDialog::accept() {
    m_model.m_strSize = toCp949(m_editSize->text());
    QDialog::accept();
}

bool RunUserFontDialog(UserFontModel& model, QWidget* parent) {
    // The model changes only when the operator confirms.
    UserFontModel edited = model;
    CUserFontDialog dialog(edited, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    model = edited;
    return true;
}

}  // namespace vodirev
