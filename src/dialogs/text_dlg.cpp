#include "dialogs/text_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vodirev {

CTextDlg::CTextDlg(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, QStringLiteral("문구 추가 및 수정"));
    auto* group = new QGroupBox(QStringLiteral("문구 수정"), this);
    auto* column = new QVBoxLayout(group);
    column->addWidget(new QLabel(QStringLiteral("문구 내용 "), group));
    m_editText = new QPlainTextEdit(group);
    m_editText->setObjectName(QStringLiteral("1012"));
    m_editText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editText->setTabChangesFocus(true);
    column->addWidget(m_editText, 1);
    const auto buttons =
        AddButtonColumn(*this, group, {QStringLiteral("적용"), QStringLiteral("닫기")});
    for (QPushButton* button : buttons) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    resize(510, 190);
}

void CTextDlg::keyPressEvent(QKeyEvent* event) {
    // The text field takes Enter itself; here it reaches the dialog only from
    // elsewhere, and there it must not apply.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CTextDlg::Run(LabelTextModel& model) {
    QString shown = fromCp949(model.m_strText);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_editText->setPlainText(shown);
    m_editText->setFocus();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    model.m_bApplied = true;
    QString edited = m_editText->toPlainText();
    if (edited != shown) {
        edited.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        model.m_strText = toCp949(edited);
    }
    return true;
}

}  // namespace vodirev
