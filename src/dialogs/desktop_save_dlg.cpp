#include "dialogs/desktop_save_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vodirev {

CDesktopSaveDlg::CDesktopSaveDlg(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, QStringLiteral("저장"));

    auto* group = new QGroupBox(QStringLiteral("데스크탑 설정"), this);
    auto* label = new QLabel(QStringLiteral("데스크탑 이름"), group);
    m_edit = new QLineEdit(group);
    m_edit->setObjectName(QStringLiteral("1016"));
    label->setBuddy(m_edit);
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_edit, 1);

    const auto buttons =
        AddButtonColumn(*this, group, {QStringLiteral("확인"), QStringLiteral("닫기")});
    m_ok = buttons[0];
    m_cancel = buttons[1];
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(474, 83);
}

void CDesktopSaveDlg::showEvent(QShowEvent* event) {
    // Every run shows the name the caller set.
    m_edit->setText(fromCp949(m_strTitle));
    m_edit->selectAll();
    m_edit->setFocus();
    QDialog::showEvent(event);
}

void CDesktopSaveDlg::accept() {
    m_strTitle = toCp949(m_edit->text());
    QDialog::accept();
}

bool RunDesktopSaveDlg(CDesktopSaveDlg& dialog, DesktopSaveModel& model) {
    dialog.m_strTitle = model.m_strTitle;
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    model.m_strTitle = dialog.m_strTitle;
    return true;
}

}  // namespace vodirev
