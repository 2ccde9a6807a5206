#include "dialogs/direct_folder_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "editor/apply_messages.h"
#include "editor/command_ui.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vodirev {

CDirectFolderDlg::CDirectFolderDlg(CommandUi& ui, DialogApplyHandler* applyHandler, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_applyHandler(applyHandler) {
    SetUpDialog(*this, QStringLiteral("바로가기 아이콘 설정"));
    setModal(false);

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    m_controls = AddFolderImageControls(content, column);

    auto* programGroup = new QGroupBox(QStringLiteral("프로그램 설정"), content);
    auto* programLayout = new QGridLayout(programGroup);
    auto* linkLabel = new QLabel(QStringLiteral("프로그램 또는 URL"), programGroup);
    m_editLink = new QLineEdit(programGroup);
    m_editLink->setObjectName(QStringLiteral("1001"));
    linkLabel->setBuddy(m_editLink);
    QPushButton* search = MakeButton(QStringLiteral("프로그램 검색"), "1009", programGroup);
    m_btnProgram = new QRadioButton(QStringLiteral("프로그램 선택"), programGroup);
    m_btnProgram->setObjectName(QStringLiteral("1010"));
    m_btnUrl = new QRadioButton(QStringLiteral("URL 선택"), programGroup);
    m_btnUrl->setObjectName(QStringLiteral("1011"));
    programLayout->addWidget(linkLabel, 0, 0);
    programLayout->addWidget(m_editLink, 0, 1, 1, 2);
    programLayout->addWidget(search, 0, 3);
    programLayout->addWidget(m_btnProgram, 1, 1);
    programLayout->addWidget(m_btnUrl, 1, 2);
    // What a chosen program is stored as: the path the client PCs use.
    auto* clientLabel = new QLabel(QStringLiteral("클라이언트 PC 경로"), programGroup);
    m_editClientPath = new QLineEdit(programGroup);
    m_editClientPath->setObjectName(QStringLiteral("clientPath"));
    clientLabel->setBuddy(m_editClientPath);
    programLayout->addWidget(clientLabel, 2, 0);
    programLayout->addWidget(m_editClientPath, 2, 1, 1, 3);
    column->addWidget(programGroup);

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("적용"), QStringLiteral("닫기")});
    connect(buttons[0], &QPushButton::clicked, this, &CDirectFolderDlg::OnOK);
    connect(buttons[1], &QPushButton::clicked, this, &CDirectFolderDlg::reject);
    connect(search, &QPushButton::clicked, this, &CDirectFolderDlg::OnBnClickedProgramSearch);
    // The buttons only switch the edit; its text is stored whichever is marked.
    connect(m_btnProgram, &QRadioButton::clicked, this, [this] { m_editLink->setEnabled(false); });
    connect(m_btnUrl, &QRadioButton::clicked, this, [this] { m_editLink->setEnabled(true); });
    OnNamedRow(m_controls.images, [this](int row) { m_model.m_nSelImage = row; });
    resize(560, 460);
}

void CDirectFolderDlg::LoadShortcutImages() {
    m_pictures = IconPictures();
    m_controls.images->clear();
    vodirev::LoadShortcutImages(m_model, m_pictures);
    FillFolderImageList(m_controls.images, m_model);
    m_model.m_nSelImage = -1;  // the refill's own notifications name no row
    m_editLink->setEnabled(false);
    LoadControls();
}

void CDirectFolderDlg::LoadControls() {
    LoadNameControls(m_controls, m_model);
    m_editLink->setText(fromCp949(m_model.m_strLink));
    m_editClientPath->setText(fromCp949(m_model.m_clientPath.shown));
    m_editClientPath->setEnabled(m_model.m_bProgramChosen);
}

void CDirectFolderDlg::OnBnClickedProgramSearch() {
    if (ChooseShortcutProgram(m_model, m_ui)) {
        LoadControls();  // unapplied edits of the name and the check box go back
    }
}

void CDirectFolderDlg::OnOK() {
    TakeChosenFolderImage(m_model);
    TakeNameControls(m_controls, m_model);
    m_model.m_strLink = toCp949(m_editLink->text());
    if (!TakeShortcutClientPath(m_model, toCp949(m_editClientPath->text()), m_ui)) {
        return;  // the folder on the client PCs is still to be given
    }
    if (m_applyHandler != nullptr) {
        m_applyHandler->OnShortcutApply(m_model);
    }
    accept();
}

void CDirectFolderDlg::reject() {
    QDialog::reject();  // hides; the edits stay in the dialog until the next filling
}

}  // namespace vodirev
