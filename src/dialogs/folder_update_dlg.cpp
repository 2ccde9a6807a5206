#include "dialogs/folder_update_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/folder_image_controls.h"
#include "dialogs/icon_insert_dlg.h"
#include "dialogs/icon_update_dlg.h"
#include "editor/apply_messages.h"
#include "editor/command_ui.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vodirev {

CFolderUpdateDlg::CFolderUpdateDlg(CommandUi& ui, DialogApplyHandler* applyHandler, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_applyHandler(applyHandler) {
    SetUpDialog(*this, QStringLiteral("폴더 정보 수정"));
    setModal(false);

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);

    m_controls = AddFolderImageControls(content, column);
    const TwoListControls lists = AddTwoListControls(content, column);
    m_listCatalog = lists.catalog;
    m_listContent = lists.content;
    auto* iconButtons = new QHBoxLayout;
    QWidget* group = m_listCatalog->parentWidget();
    QPushButton* insert = MakeButton(QStringLiteral("아이콘 등록"), "1018", group);
    QPushButton* update = MakeButton(QStringLiteral("아이콘 수정"), "1027", group);
    QPushButton* erase = MakeButton(QStringLiteral("아이콘 삭제"), "1037", group);
    iconButtons->addWidget(insert);
    iconButtons->addWidget(update);
    iconButtons->addWidget(erase);
    iconButtons->addStretch(1);
    lists.layout->addLayout(iconButtons, 1, 0, 1, 3);

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("적용"), QStringLiteral("닫기")});
    connect(buttons[0], &QPushButton::clicked, this, &CFolderUpdateDlg::OnOK);
    connect(buttons[1], &QPushButton::clicked, this, &CFolderUpdateDlg::reject);
    connect(lists.add, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedAdd);
    connect(lists.remove, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedRemove);
    connect(insert, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconInsert);
    connect(update, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconUpdate);
    connect(erase, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconDelete);
    // The row named by the latest change of selection, also when it was deselected.
    OnNamedRow(m_controls.images, [this](int row) { m_model.m_nSelImage = row; });
    resize(760, 640);
}

void CFolderUpdateDlg::LoadFolderContents() {
    m_pictures = IconPictures();
    // The model's row is set by the notifications the refill itself causes; the
    // fresh lists name no row.
    m_controls.images->clear();
    vodirev::LoadFolderContents(m_model, m_pictures);
    FillFolderImageList(m_controls.images, m_model);
    m_model.m_nSelImage = -1;
    FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconRows(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
    LoadNameControls(m_controls, m_model);
}

std::vector<int> CFolderUpdateDlg::SelectedRows(QListWidget* list) const {
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CFolderUpdateDlg::OnBnClickedAdd() {
    MoveIcons(m_model, FolderList::Catalog, SelectedRows(m_listCatalog), m_pictures);
    FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconRows(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
}

void CFolderUpdateDlg::OnBnClickedRemove() {
    MoveIcons(m_model, FolderList::Content, SelectedRows(m_listContent), m_pictures);
    FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconRows(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
}

void CFolderUpdateDlg::OnBnClickedIconInsert() {
    IconInsertModel insert;
    insert.m_nDesktop = m_model.m_nDesktop;
    insert.m_szWorkDir = m_model.m_szWorkDir.str();
    if (!m_ui.RunDialog(insert)) {
        return;
    }
    CInfoIcon icon;
    icon.m_strImage = insert.m_strImage;
    icon.m_strName = insert.m_strName;
    icon.m_strDir = insert.m_strDir;
    icon.m_strProgram = insert.m_strProgram;
    icon.m_strUrl = insert.m_strUrl;
    if (AddRegisteredIcon(m_model, std::move(icon), m_pictures)) {
        FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    }
}

void CFolderUpdateDlg::OnBnClickedIconUpdate() {
    const auto selected =
        SingleSelectedIcon(SelectedRows(m_listCatalog), SelectedRows(m_listContent));
    if (!selected) {
        m_ui.ShowMessage(QString::fromUtf8(kSelectOneIconMessage));
        return;
    }
    CInfoIcon& icon = IconAt(m_model, selected->first, selected->second);
    IconUpdateModel update =
        IconUpdateModelFor(icon.m_strDir, icon.m_strProgram, m_model.m_szWorkDir.str());
    // "수정" without a new program chosen keeps the icon's program: an empty path
    // would leave a desktop icon that starts nothing.
    if (m_ui.RunDialog(update) && !update.m_strProgram.empty()) {
        icon.m_strDir = update.m_strDir;
        icon.m_strProgram = update.m_strProgram;
    }
}

void CFolderUpdateDlg::OnBnClickedIconDelete() {
    DeleteIcons(m_model, SelectedRows(m_listCatalog), SelectedRows(m_listContent));
    FillIconRows(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconRows(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
}

void CFolderUpdateDlg::OnOK() {
    TakeChosenFolderImage(m_model);
    TakeNameControls(m_controls, m_model);
    if (m_applyHandler != nullptr) {
        m_applyHandler->OnFolderApply(m_model);
    }
    accept();
}

void CFolderUpdateDlg::reject() {
    QDialog::reject();  // hides; the edits stay in the dialog until the next filling
}

}  // namespace vodirev
