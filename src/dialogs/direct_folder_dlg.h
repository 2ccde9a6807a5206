#pragma once
// "바로가기 아이콘 설정": a shortcut's name, show-name flag, image and what it starts.
// Modeless: the window creates it once hidden, the edit command fills its model and
// shows it, "적용" hands the model to the window and hides it, "닫기" (or the close
// box) hides it and drops the edits.

#include "dialogs/folder_image_controls.h"
#include "document/folder_images.h"
#include "editor/direct_folder_model.h"

#include <QDialog>

class QRadioButton;

namespace vodirev {

class CommandUi;
class DialogApplyHandler;

class CDirectFolderDlg : public QDialog {
public:
    CDirectFolderDlg(CommandUi& ui, DialogApplyHandler* applyHandler, QWidget* parent = nullptr);

    DirectFolderModel& model() { return m_model; }

    // Fills the image list, disables the link edit and loads the members into the
    // controls. The radio buttons keep the marks of the previous opening.
    void LoadShortcutImages();

    void OnBnClickedProgramSearch();
    void OnOK();

    QLineEdit* nameEdit() const { return m_controls.name; }
    QCheckBox* showNameCheck() const { return m_controls.showName; }
    QListWidget* imageList() const { return m_controls.images; }
    QLineEdit* linkEdit() const { return m_editLink; }
    QRadioButton* programButton() const { return m_btnProgram; }
    QRadioButton* urlButton() const { return m_btnUrl; }
    QLineEdit* clientPathEdit() const { return m_editClientPath; }

protected:
    void reject() override;

private:
    void LoadControls();

    CommandUi& m_ui;
    DialogApplyHandler* m_applyHandler;
    DirectFolderModel m_model;
    IconPictures m_pictures;  // one opening's decodes
    FolderImageControls m_controls;
    QLineEdit* m_editLink = nullptr;       // 1001
    QRadioButton* m_btnProgram = nullptr;  // 1010
    QRadioButton* m_btnUrl = nullptr;      // 1011
    QLineEdit* m_editClientPath = nullptr;
};

}  // namespace vodirev
