#pragma once
// "아이콘 수정": points an existing program icon at another program file.

#include "base/fixed_string.h"
#include "document/client_drives.h"
#include "editor/command_ui.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace vodirev {

// The folder editor sets m_strFullPath (the icon's folder, "\" and program) and the
// working folder, and on OK reads m_strDir and m_strProgram back into the icon.
struct IconUpdateModel : DialogModel {
    std::string m_strFullPath;     // edit 1029
    std::string m_strDir;          // folder of the chosen program; empty until one is chosen
    std::string m_strProgram;      // its file name; empty until one is chosen
    FixedString<260> m_szWorkDir;  // made current again after the file dialog
    // "클라이언트 PC 경로": m_strDir "\" m_strProgram as the client PCs use them.
    ClientPathChoice m_clientPath;
    bool m_bClientPathEdited = false;
};

// The model for an icon: the path shown is its folder, "\" and program, and without a
// new choice its folder and program come back exactly as they were (a program field
// such as "steam://rungameid/730" is never split again at its slashes).
IconUpdateModel IconUpdateModelFor(const std::string& dir, const std::string& program,
                                   const std::string& workDir);

// "경로 및 URL 변경": a chosen program sets m_strProgram and m_strDir as the client PCs
// name it (see ClientProgramFor), and m_strFullPath to the chosen file.
// A path whose folder or name holds ";" or a line break would break the menu line:
// it shows a message and changes nothing. False when nothing was taken.
bool ChangeProgramPath(IconUpdateModel& model, CommandUi& ui,
                       const ClientDrives& drives = CurrentClientDrives());

// The client path field's text: changed by the operator, it gives the folder (up to
// its last "\") and the program; emptied, the icon has no program.
void TakeIconUpdateClientPath(IconUpdateModel& model, std::string_view text);

// "수정": false, with the operator asked for it, while a chosen program's folder on
// the client PCs is unknown. Without a new program or an edited path, m_strDir and
// m_strProgram come from m_strFullPath when empty, so the icon keeps what it had.
bool ConfirmIconUpdate(IconUpdateModel& model, CommandUi* ui = nullptr);

class CIconUpdateDlg : public QDialog {
public:
    CIconUpdateDlg(IconUpdateModel& model, CommandUi& ui, QWidget* parent = nullptr);

    void OnBnClickedPathChange();
    void OnOK();

    QLineEdit* pathEdit() const { return m_editPath; }
    QPushButton* changeButton() const { return m_btnChange; }
    QLineEdit* clientPathEdit() const { return m_editClientPath; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    IconUpdateModel& m_model;
    CommandUi& m_ui;
    QLineEdit* m_editPath = nullptr;     // 1029: shows the path; it is never read back
    QPushButton* m_btnChange = nullptr;  // 1028
    QLineEdit* m_editClientPath = nullptr;
    QPushButton* m_ok = nullptr;      // 1 "수정"
    QPushButton* m_cancel = nullptr;  // 2 "닫기"
};

// Runs the dialog modally; true when it closed with "수정".
bool RunIconUpdateDlg(IconUpdateModel& model, CommandUi& ui, QWidget* parent);

}  // namespace vodirev
