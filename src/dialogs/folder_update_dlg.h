#pragma once
// "폴더 정보 수정": the folder editor. Modeless: the window creates it once hidden, the
// edit command fills its model and shows it, "적용" hands the model to the window and
// hides it, "닫기" (or the close box) hides it and drops the edits.

#include "dialogs/folder_image_controls.h"
#include "document/folder_images.h"
#include "editor/folder_update_model.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vodirev {

class CommandUi;
class DialogApplyHandler;

class CFolderUpdateDlg : public QDialog {
public:
    CFolderUpdateDlg(CommandUi& ui, DialogApplyHandler* applyHandler, QWidget* parent = nullptr);

    FolderUpdateModel& model() { return m_model; }

    // Fills the lists from the model (after the edit command filled it) and loads
    // the name and the check box.
    void LoadFolderContents();

    void OnBnClickedAdd();     // ">>"
    void OnBnClickedRemove();  // "<<"
    void OnBnClickedIconInsert();
    void OnBnClickedIconUpdate();
    void OnBnClickedIconDelete();
    void OnOK();

    QLineEdit* nameEdit() const { return m_controls.name; }
    QCheckBox* showNameCheck() const { return m_controls.showName; }
    QListWidget* imageList() const { return m_controls.images; }
    QListWidget* catalogList() const { return m_listCatalog; }
    QListWidget* contentList() const { return m_listContent; }

protected:
    void reject() override;

private:
    std::vector<int> SelectedRows(QListWidget* list) const;

    CommandUi& m_ui;
    DialogApplyHandler* m_applyHandler;
    FolderUpdateModel m_model;
    IconPictures m_pictures;  // one opening's decodes
    FolderImageControls m_controls;
    QListWidget* m_listCatalog = nullptr;  // 1006
    QListWidget* m_listContent = nullptr;  // 1007
};

}  // namespace vodirev
