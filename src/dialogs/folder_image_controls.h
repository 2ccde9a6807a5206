#pragma once
// The controls the folder-type dialogs share: name edit 1000, check box 1008 and the
// folder image list 1005, and the row pictures of their lists.

#include "document/info_icon.h"
#include "editor/folder_image_choice.h"

#include <QIcon>
#include <QImage>
#include <QString>
#include <functional>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vodirev {

// Folder images are drawn with magenta as their transparent colour, program icons
// with black, as the lists of the client PCs draw them.
inline constexpr QRgb kFolderKey = 0xFFFF00FF;
inline constexpr QRgb kIconKey = 0xFF000000;

// The picture with the key colour transparent; an empty icon for a null picture.
QIcon RowIcon(const QImage& picture, QRgb key);

// A push button named by its control id that never takes Enter.
QPushButton* MakeButton(const QString& caption, const char* id, QWidget* parent);

// A list of program icons with their names, several rows selectable.
QListWidget* MakeIconList(QWidget* parent, const char* id);

// Calls onRow with the row named by every change of the list's selection, also when
// that row was deselected.
void OnNamedRow(QListWidget* list, std::function<void(int)> onRow);

struct FolderImageControls {
    QLineEdit* name = nullptr;      // 1000
    QCheckBox* showName = nullptr;  // 1008
    QListWidget* images = nullptr;  // 1005
};

// Adds the name row and the group "폴더 정보 변경" with list 1005 to column.
FolderImageControls AddFolderImageControls(QWidget* content, QVBoxLayout* column);

struct TwoListControls {
    QGridLayout* layout = nullptr;   // lists in row 0; room below for more buttons
    QListWidget* catalog = nullptr;  // 1006
    QListWidget* content = nullptr;  // 1007
    QPushButton* add = nullptr;      // 1003 ">>"
    QPushButton* remove = nullptr;   // 1004 "<<"
};

// Adds the group "아이콘 설정": lists 1006 and 1007 with ">>" and "<<" between them.
TwoListControls AddTwoListControls(QWidget* content, QVBoxLayout* column);

// One row per entry: its picture (black transparent) and its name.
void FillIconRows(QListWidget* list, const std::vector<CInfoIcon>& icons,
                  const std::vector<QImage>& pictures);

// Rows of list 1005 from the model, and the name and check box.
void FillFolderImageList(QListWidget* list, const FolderImageChoice& model);
void LoadNameControls(const FolderImageControls& controls, const FolderImageChoice& model);
void TakeNameControls(const FolderImageControls& controls, FolderImageChoice& model);

}  // namespace vodirev
