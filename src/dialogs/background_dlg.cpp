#include "dialogs/background_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/folder_image_controls.h"
#include "editor/background_picker.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace vodirev {

namespace {

// A thumbnail with its caption below; every row has this size from the start, so
// the rows keep their places while the thumbnails arrive.
const QSize kRowSize(kBackgroundThumbSize + 24, kBackgroundThumbSize + 32);

}  // namespace

CBackgroundDlg::CBackgroundDlg(BackgroundChoice& choice, QWidget* parent,
                               std::shared_ptr<ThumbnailCache> cache)
    : QDialog(parent),
      m_choice(choice),
      m_maker(
          this, [this](int row, const QImage& thumbnail) { OnThumbnail(row, thumbnail); },
          std::move(cache)) {
    SetUpDialog(*this, QStringLiteral("배경 이미지 선택"));
    setWindowFlag(Qt::WindowSystemMenuHint, false);

    m_listBackground = new QListWidget(this);
    m_listBackground->setObjectName(QStringLiteral("1015"));
    m_listBackground->setViewMode(QListView::IconMode);
    m_listBackground->setIconSize(QSize(kBackgroundThumbSize, kBackgroundThumbSize));
    m_listBackground->setGridSize(kRowSize);
    m_listBackground->setUniformItemSizes(true);
    m_listBackground->setResizeMode(QListView::Adjust);
    m_listBackground->setMovement(QListView::Static);
    m_listBackground->setSelectionMode(QAbstractItemView::ExtendedSelection);

    const auto buttons =
        AddButtonColumn(*this, m_listBackground, {QStringLiteral("적용"), QStringLiteral("닫기")});
    m_apply = buttons[0];
    m_close = buttons[1];
    connect(m_apply, &QPushButton::clicked, this, &CBackgroundDlg::OnOK);
    connect(m_close, &QPushButton::clicked, this, &CBackgroundDlg::reject);
    OnNamedRow(m_listBackground, [this](int row) { OnBackgroundItemChanged(row); });
    resize(790, 400);
    OnInitDialog();
}

void CBackgroundDlg::OnInitDialog() {
    CleanUp();
    m_arrBackground = LoadBackgroundRows();
    m_imgThumb.assign(m_arrBackground.size(), QImage());
    std::vector<QString> pictures;
    pictures.reserve(m_arrBackground.size());
    for (const CInfoBackground& row : m_arrBackground) {
        auto* item = new QListWidgetItem(fromCp949(row.m_strName));
        item->setSizeHint(kRowSize);
        m_listBackground->addItem(item);
        pictures.push_back(BackgroundPicturePath(row));
    }
    m_maker.Start(pictures, QSize(kBackgroundThumbSize, kBackgroundThumbSize));
}

void CBackgroundDlg::OnThumbnail(int row, const QImage& thumbnail) {
    if (row < 0 || std::size_t(row) >= m_imgThumb.size() || thumbnail.isNull()) {
        return;
    }
    m_imgThumb[std::size_t(row)] = thumbnail;
    // Black is the thumbnails' transparent colour.
    m_listBackground->item(row)->setIcon(RowIcon(thumbnail, kIconKey));
}

QImage CBackgroundDlg::Thumbnail(int row) const {
    return row >= 0 && std::size_t(row) < m_imgThumb.size() ? m_imgThumb[std::size_t(row)]
                                                            : QImage();
}

void CBackgroundDlg::OnBackgroundItemChanged(int row) {
    vodirev::OnBackgroundItemChanged(m_choice, m_arrBackground, row);
}

void CBackgroundDlg::CleanUp() {
    // Thumbnails still being made are dropped, not waited for; emptying the list is
    // no selection change of the operator's.
    m_maker.Cancel();
    const QSignalBlocker blocker(m_listBackground->selectionModel());
    m_listBackground->clear();
    m_arrBackground.clear();
    m_imgThumb.clear();
}

void CBackgroundDlg::OnOK() {
    CleanUp();
    accept();
}

void CBackgroundDlg::reject() {
    CleanUp();
    QDialog::reject();
}

bool RunBackgroundDlg(BackgroundChoice& choice, QWidget* parent) {
    CBackgroundDlg dialog(choice, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vodirev
