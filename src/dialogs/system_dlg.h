#pragma once
// "제어판 폴더": the control panel folder's name, show-name flag and image, and which
// system entries it holds. Modeless like the folder editor: "확인" hands the model to
// the window and hides the dialog, "취소" (or the close box) drops the edits.

#include "dialogs/folder_image_controls.h"
#include "document/folder_images.h"
#include "editor/base_folder_model.h"

#include <QDialog>

namespace vodirev {

class DialogApplyHandler;

class CSystemDlg : public QDialog {
public:
    explicit CSystemDlg(DialogApplyHandler* applyHandler, QWidget* parent = nullptr);

    SystemFolderModel& model() { return m_model; }

    // Fills the three lists from the model (after the edit command filled it) and
    // loads the name and the check box.
    void LoadSystemFolderContents();

    void OnBnClickedAdd();     // ">>": the row last chosen in the catalogue
    void OnBnClickedRemove();  // "<<": the row last chosen in the control panel
    void OnOK();

    QLineEdit* nameEdit() const { return m_controls.name; }
    QCheckBox* showNameCheck() const { return m_controls.showName; }
    QListWidget* imageList() const { return m_controls.images; }
    QListWidget* catalogList() const { return m_listCatalog; }
    QListWidget* contentList() const { return m_listContent; }

protected:
    void reject() override;

private:
    void Move(FolderList from);

    DialogApplyHandler* m_applyHandler;
    SystemFolderModel m_model;
    IconPictures m_pictures;
    FolderImageControls m_controls;
    QListWidget* m_listCatalog = nullptr;  // 1006
    QListWidget* m_listContent = nullptr;  // 1007
    bool m_bRefilling = false;             // row changes made by the dialog name no row
};

}  // namespace vodirev
