#include "dialogs/desktop_save_dlg.h"

#include "base/text.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vodirev {

CDesktopSaveDlg::CDesktopSaveDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("저장"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(QFont(QStringLiteral("굴림체"), 9));

    auto* group = new QGroupBox(QStringLiteral("데스크탑 설정"), this);
    auto* label = new QLabel(QStringLiteral("데스크탑 이름"), group);
    m_edit = new QLineEdit(group);
    m_edit->setObjectName(QStringLiteral("1016"));
    label->setBuddy(m_edit);
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_edit, 1);

    m_ok = new QPushButton(QStringLiteral("확인"), this);
    m_cancel = new QPushButton(QStringLiteral("닫기"), this);
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
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
