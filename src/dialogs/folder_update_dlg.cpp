#include "dialogs/folder_update_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/folder_image_controls.h"
#include "dialogs/icon_insert_dlg.h"
#include "dialogs/icon_update_dlg.h"
#include "editor/apply_messages.h"
#include "editor/command_ui.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
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

    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("폴더명"), content);
    m_editName = new QLineEdit(content);
    m_editName->setObjectName(QStringLiteral("1000"));
    nameLabel->setBuddy(m_editName);
    m_checkShowName = new QCheckBox(QStringLiteral("폴더명 표시함"), content);
    m_checkShowName->setObjectName(QStringLiteral("1008"));
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_editName, 1);
    nameRow->addWidget(m_checkShowName);
    column->addLayout(nameRow);

    auto* imageGroup = new QGroupBox(QStringLiteral("폴더 정보 변경"), content);
    auto* imageLayout = new QVBoxLayout(imageGroup);
    m_listImage = new QListWidget(imageGroup);
    m_listImage->setObjectName(QStringLiteral("1005"));
    m_listImage->setViewMode(QListView::IconMode);
    m_listImage->setIconSize(QSize(kFolderImageSize, kFolderImageSize));
    m_listImage->setGridSize(QSize(kFolderImageSize + 40, kFolderImageSize + 32));
    m_listImage->setResizeMode(QListView::Adjust);
    m_listImage->setMovement(QListView::Static);
    m_listImage->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listImage->setMinimumHeight(kFolderImageSize * 2 + 40);
    imageLayout->addWidget(m_listImage);
    column->addWidget(imageGroup, 1);

    auto* iconGroup = new QGroupBox(QStringLiteral("아이콘 설정"), content);
    auto* iconLayout = new QGridLayout(iconGroup);
    m_listCatalog = MakeIconList(iconGroup, "1006");
    m_listContent = MakeIconList(iconGroup, "1007");
    auto* moveColumn = new QVBoxLayout;
    QPushButton* add = MakeButton(QStringLiteral(">>"), "1003", iconGroup);
    QPushButton* remove = MakeButton(QStringLiteral("<<"), "1004", iconGroup);
    moveColumn->addStretch(1);
    moveColumn->addWidget(add);
    moveColumn->addWidget(remove);
    moveColumn->addStretch(1);
    iconLayout->addWidget(m_listCatalog, 0, 0);
    iconLayout->addLayout(moveColumn, 0, 1);
    iconLayout->addWidget(m_listContent, 0, 2);
    auto* iconButtons = new QHBoxLayout;
    QPushButton* insert = MakeButton(QStringLiteral("아이콘 등록"), "1018", iconGroup);
    QPushButton* update = MakeButton(QStringLiteral("아이콘 수정"), "1027", iconGroup);
    QPushButton* erase = MakeButton(QStringLiteral("아이콘 삭제"), "1037", iconGroup);
    iconButtons->addWidget(insert);
    iconButtons->addWidget(update);
    iconButtons->addWidget(erase);
    iconButtons->addStretch(1);
    iconLayout->addLayout(iconButtons, 1, 0, 1, 3);
    column->addWidget(iconGroup, 2);

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("적용"), QStringLiteral("닫기")});
    connect(buttons[0], &QPushButton::clicked, this, &CFolderUpdateDlg::OnOK);
    connect(buttons[1], &QPushButton::clicked, this, &CFolderUpdateDlg::reject);
    connect(add, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedAdd);
    connect(remove, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedRemove);
    connect(insert, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconInsert);
    connect(update, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconUpdate);
    connect(erase, &QPushButton::clicked, this, &CFolderUpdateDlg::OnBnClickedIconDelete);
    // The row named by the latest change of selection, also when it was deselected.
    connect(m_listImage->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                const QModelIndexList named =
                    selected.isEmpty() ? deselected.indexes() : selected.indexes();
                if (!named.isEmpty()) {
                    m_model.m_nSelImage = named.last().row();
                }
            });
    resize(760, 640);
}

void CFolderUpdateDlg::LoadFolderContents() {
    m_pictures = IconPictures();
    // The model's row is set by the notifications the refill itself causes; the
    // fresh lists name no row.
    m_listImage->clear();
    vodirev::LoadFolderContents(m_model, m_pictures);
    for (std::size_t row = 0; row < m_model.m_arrFolderImage.size(); ++row) {
        m_listImage->addItem(new QListWidgetItem(RowIcon(m_model.m_imgImage[row], kFolderKey),
                                                 fromCp949(m_model.m_folderImageCaptions[row])));
    }
    m_model.m_nSelImage = -1;
    FillIconList(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconList(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
    m_editName->setText(fromCp949(m_model.m_strFolderName));
    m_checkShowName->setChecked(m_model.m_bShowName != 0);
}

void CFolderUpdateDlg::FillIconList(QListWidget* list, const std::vector<CInfoIcon>& icons,
                                    const std::vector<QImage>& pictures) {
    list->clear();
    for (std::size_t row = 0; row < icons.size(); ++row) {
        const QImage picture = row < pictures.size() ? pictures[row] : QImage();
        list->addItem(
            new QListWidgetItem(RowIcon(picture, kIconKey), fromCp949(icons[row].m_strName)));
    }
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
    FillIconList(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconList(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
}

void CFolderUpdateDlg::OnBnClickedRemove() {
    MoveIcons(m_model, FolderList::Content, SelectedRows(m_listContent), m_pictures);
    FillIconList(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconList(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
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
        FillIconList(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
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
    IconUpdateModel update;
    update.m_strFullPath = icon.m_strDir + '\\' + icon.m_strProgram;
    update.m_szWorkDir = m_model.m_szWorkDir.str();
    // "수정" without a new program chosen keeps the icon's program: an empty path
    // would leave a desktop icon that starts nothing.
    if (m_ui.RunDialog(update) && !update.m_strProgram.empty()) {
        icon.m_strDir = update.m_strDir;
        icon.m_strProgram = update.m_strProgram;
    }
}

void CFolderUpdateDlg::OnBnClickedIconDelete() {
    DeleteIcons(m_model, SelectedRows(m_listCatalog), SelectedRows(m_listContent));
    FillIconList(m_listCatalog, m_model.m_arrCatalog, m_model.m_imgCatalog);
    FillIconList(m_listContent, m_model.m_arrContent, m_model.m_imgContent);
}

void CFolderUpdateDlg::TakeControls() {
    m_model.m_strFolderName = toCp949(m_editName->text());
    m_model.m_bShowName = m_checkShowName->isChecked() ? 1 : 0;
}

void CFolderUpdateDlg::OnOK() {
    TakeChosenFolderImage(m_model);
    TakeControls();
    if (m_applyHandler != nullptr) {
        m_applyHandler->OnFolderApply(m_model);
    }
    accept();
}

void CFolderUpdateDlg::reject() {
    QDialog::reject();  // hides; the edits stay in the dialog until the next filling
}

}  // namespace vodirev
