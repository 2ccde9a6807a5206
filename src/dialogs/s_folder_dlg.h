#pragma once
// "기본 폴더": the name, show-name flag and image of my computer, the recycle bin or
// user reviews. Modeless like the folder editor: "확인" hands the model to the window
// and hides the dialog, "취소" (or the close box) hides it and drops the edits.

#include "dialogs/folder_image_controls.h"
#include "document/folder_images.h"
#include "editor/base_folder_model.h"

#include <QDialog>

namespace vodirev {

class DialogApplyHandler;

class CSFolderDlg : public QDialog {
public:
    explicit CSFolderDlg(DialogApplyHandler* applyHandler, QWidget* parent = nullptr);

    BaseFolderModel& model() { return m_model; }

    // Fills the image list and loads the name and the check box.
    void LoadBaseFolderImages();
    void OnOK();

    QLineEdit* nameEdit() const { return m_controls.name; }
    QCheckBox* showNameCheck() const { return m_controls.showName; }
    QListWidget* imageList() const { return m_controls.images; }

protected:
    void reject() override;

private:
    DialogApplyHandler* m_applyHandler;
    BaseFolderModel m_model;
    IconPictures m_pictures;
    FolderImageControls m_controls;
};

}  // namespace vodirev
