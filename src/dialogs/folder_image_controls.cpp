#include "dialogs/folder_image_controls.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "document/folder_images.h"

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

namespace vodirev {

namespace {

// Rows large enough to read: icons at twice their size, names in the dialog font.
constexpr int kIconRowSize = 32;

}  // namespace

QIcon RowIcon(const QImage& picture, QRgb key) {
    if (picture.isNull()) {
        return QIcon();
    }
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] | 0xFF000000) == key) {
                line[x] = 0;
            }
        }
    }
    return QIcon(QPixmap::fromImage(keyed));
}

QPushButton* MakeButton(const QString& caption, const char* id, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeIconList(QWidget* parent, const char* id) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(id));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setIconSize(QSize(kIconRowSize, kIconRowSize));
    list->setUniformItemSizes(true);
    SizeRowsForHangul(*list, kIconRowSize);
    list->setMinimumSize(280, 220);
    return list;
}

void OnNamedRow(QListWidget* list, std::function<void(int)> onRow) {
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, list,
                     [onRow = std::move(onRow)](const QItemSelection& selected,
                                                const QItemSelection& deselected) {
                         const QModelIndexList named =
                             selected.isEmpty() ? deselected.indexes() : selected.indexes();
                         if (!named.isEmpty()) {
                             onRow(named.last().row());
                         }
                     });
}

FolderImageControls AddFolderImageControls(QWidget* content, QVBoxLayout* column) {
    FolderImageControls controls;
    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("폴더명"), content);
    controls.name = new QLineEdit(content);
    controls.name->setObjectName(QStringLiteral("1000"));
    nameLabel->setBuddy(controls.name);
    controls.showName = new QCheckBox(QStringLiteral("폴더명 표시함"), content);
    controls.showName->setObjectName(QStringLiteral("1008"));
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(controls.name, 1);
    nameRow->addWidget(controls.showName);
    column->addLayout(nameRow);

    auto* imageGroup = new QGroupBox(QStringLiteral("폴더 정보 변경"), content);
    auto* imageLayout = new QVBoxLayout(imageGroup);
    controls.images = new QListWidget(imageGroup);
    controls.images->setObjectName(QStringLiteral("1005"));
    controls.images->setViewMode(QListView::IconMode);
    controls.images->setIconSize(QSize(kFolderImageSize, kFolderImageSize));
    controls.images->setGridSize(QSize(kFolderImageSize + 40, kFolderImageSize + 32));
    controls.images->setResizeMode(QListView::Adjust);
    controls.images->setMovement(QListView::Static);
    controls.images->setSelectionMode(QAbstractItemView::ExtendedSelection);
    controls.images->setMinimumHeight(kFolderImageSize * 2 + 40);
    imageLayout->addWidget(controls.images);
    column->addWidget(imageGroup, 1);
    return controls;
}

TwoListControls AddTwoListControls(QWidget* content, QVBoxLayout* column) {
    TwoListControls controls;
    auto* group = new QGroupBox(QStringLiteral("아이콘 설정"), content);
    controls.layout = new QGridLayout(group);
    controls.catalog = MakeIconList(group, "1006");
    controls.content = MakeIconList(group, "1007");
    auto* moveColumn = new QVBoxLayout;
    controls.add = MakeButton(QStringLiteral(">>"), "1003", group);
    controls.remove = MakeButton(QStringLiteral("<<"), "1004", group);
    moveColumn->addStretch(1);
    moveColumn->addWidget(controls.add);
    moveColumn->addWidget(controls.remove);
    moveColumn->addStretch(1);
    controls.layout->addWidget(controls.catalog, 0, 0);
    controls.layout->addLayout(moveColumn, 0, 1);
    controls.layout->addWidget(controls.content, 0, 2);
    column->addWidget(group, 2);
    return controls;
}

void FillIconRows(QListWidget* list, const std::vector<CInfoIcon>& icons,
                  const std::vector<QImage>& pictures) {
    list->clear();
    for (std::size_t row = 0; row < icons.size(); ++row) {
        const QImage picture = row < pictures.size() ? pictures[row] : QImage();
        list->addItem(
            new QListWidgetItem(RowIcon(picture, kIconKey), fromCp949(icons[row].m_strName)));
    }
}

void FillFolderImageList(QListWidget* list, const FolderImageChoice& model) {
    list->clear();
    for (std::size_t row = 0; row < model.m_arrFolderImage.size(); ++row) {
        list->addItem(new QListWidgetItem(RowIcon(model.m_imgImage[row], kFolderKey),
                                          fromCp949(model.m_folderImageCaptions[row])));
    }
}

void LoadNameControls(const FolderImageControls& controls, const FolderImageChoice& model) {
    controls.name->setText(fromCp949(model.m_strFolderName));
    controls.showName->setChecked(model.m_bShowName != 0);
}

void TakeNameControls(const FolderImageControls& controls, FolderImageChoice& model) {
    model.m_strFolderName = toCp949(controls.name->text());
    model.m_bShowName = controls.showName->isChecked() ? 1 : 0;
}

}  // namespace vodirev
