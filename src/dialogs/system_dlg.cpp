#include "dialogs/system_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "editor/apply_messages.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vodirev {

CSystemDlg::CSystemDlg(DialogApplyHandler* applyHandler, QWidget* parent)
    : QDialog(parent), m_applyHandler(applyHandler) {
    SetUpDialog(*this, QStringLiteral("제어판 폴더"));
    setModal(false);
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    m_controls = AddFolderImageControls(content, column);

    const TwoListControls lists = AddTwoListControls(content, column);
    m_listCatalog = lists.catalog;
    m_listContent = lists.content;

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("확인"), QStringLiteral("취소")});
    connect(buttons[0], &QPushButton::clicked, this, &CSystemDlg::OnOK);
    connect(buttons[1], &QPushButton::clicked, this, &CSystemDlg::reject);
    connect(lists.add, &QPushButton::clicked, this, &CSystemDlg::OnBnClickedAdd);
    connect(lists.remove, &QPushButton::clicked, this, &CSystemDlg::OnBnClickedRemove);
    OnNamedRow(m_controls.images, [this](int row) {
        if (!m_bRefilling) {
            m_model.m_nSelImage = row;
        }
    });
    OnNamedRow(m_listCatalog, [this](int row) {
        if (!m_bRefilling) {
            m_model.m_nSelCatalogRow = row;
        }
    });
    OnNamedRow(m_listContent, [this](int row) {
        if (!m_bRefilling) {
            m_model.m_nSelContentRow = row;
        }
    });
    resize(760, 640);
}

void CSystemDlg::LoadSystemFolderContents() {
    m_pictures = IconPictures();
    m_bRefilling = true;
    vodirev::LoadSystemFolderContents(m_model, m_pictures);
    FillFolderImageList(m_controls.images, m_model);
    FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconRows(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
    m_bRefilling = false;
    LoadNameControls(m_controls, m_model);
}

void CSystemDlg::Move(FolderList from) {
    const bool fromCatalog = from == FolderList::Catalog;
    const int row = fromCatalog ? m_model.m_nSelCatalogRow : m_model.m_nSelContentRow;
    if (!MoveSystemEntry(m_model, from, m_pictures)) {
        return;
    }
    // Row by row, so the other list keeps what is chosen in it.
    QListWidget* source = fromCatalog ? m_listCatalog : m_listContent;
    QListWidget* target = fromCatalog ? m_listContent : m_listCatalog;
    const CInfoIcon& moved =
        fromCatalog ? m_model.m_arrContent.back() : m_model.m_arrCatalog.back();
    const QImage& picture = fromCatalog ? m_model.m_imgContent.back() : m_model.m_imgCatalog.back();
    m_bRefilling = true;
    delete source->takeItem(row);
    target->addItem(new QListWidgetItem(RowIcon(picture, kIconKey), fromCp949(moved.m_strName)));
    m_bRefilling = false;
}

void CSystemDlg::OnBnClickedAdd() {
    Move(FolderList::Catalog);
}

void CSystemDlg::OnBnClickedRemove() {
    Move(FolderList::Content);
}

void CSystemDlg::OnOK() {
    TakeChosenFolderImage(m_model);
    TakeNameControls(m_controls, m_model);
    if (m_applyHandler != nullptr) {
        m_applyHandler->OnSystemApply(m_model);
    }
    accept();
}

void CSystemDlg::reject() {
    QDialog::reject();
}

}  // namespace vodirev
