#include "dialogs/s_folder_dlg.h"

#include "dialogs/dialog_frame.h"
#include "editor/apply_messages.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vodirev {

CSFolderDlg::CSFolderDlg(DialogApplyHandler* applyHandler, QWidget* parent)
    : QDialog(parent), m_applyHandler(applyHandler) {
    SetUpDialog(*this, QStringLiteral("기본 폴더"));
    setModal(false);
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    m_controls = AddFolderImageControls(content, column);
    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("확인"), QStringLiteral("취소")});
    connect(buttons[0], &QPushButton::clicked, this, &CSFolderDlg::OnOK);
    connect(buttons[1], &QPushButton::clicked, this, &CSFolderDlg::reject);
    OnNamedRow(m_controls.images, [this](int row) { m_model.m_nSelImage = row; });
    resize(520, 360);
}

void CSFolderDlg::LoadBaseFolderImages() {
    m_pictures = IconPictures();
    m_controls.images->clear();
    vodirev::LoadBaseFolderImages(m_model, m_pictures);
    FillFolderImageList(m_controls.images, m_model);
    m_model.m_nSelImage = -1;
    LoadNameControls(m_controls, m_model);
}

void CSFolderDlg::OnOK() {
    TakeChosenFolderImage(m_model);
    TakeNameControls(m_controls, m_model);
    if (m_applyHandler != nullptr) {
        m_applyHandler->OnBaseFolderApply(m_model);
    }
    accept();
}

void CSFolderDlg::reject() {
    QDialog::reject();
}

}  // namespace vodirev
