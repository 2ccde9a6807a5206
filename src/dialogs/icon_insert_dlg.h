#pragma once
// "아이콘 등록하기": registers a new program icon for the folder editor. The operator
// picks a program (its icon is stored as a PNG under images\icons when registering)
// or a picture (copied there at once), names the icon and may give a web address;
// "등록" appends the icon's line to the desktop's menu list.

#include "base/fixed_string.h"
#include "document/client_drives.h"
#include "editor/command_ui.h"

#include <QDateTime>
#include <QDialog>
#include <QImage>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vodirev {

// What the folder editor hands in (m_nDesktop, m_szWorkDir) and reads back on OK
// (m_strImage, m_strName, m_strDir, m_strProgram, m_strUrl). Text is CP949.
struct IconInsertModel : DialogModel {
    std::string m_strSourcePath;  // the file last chosen, program or picture
    std::string m_strSourceName;  // its file name, or the time-stamp name replacing it
    QImage m_imgIcon;             // the chosen program's icon; null until one is chosen
    std::string m_strProgram;     // program file name (edit 1024)
    std::string m_strUrl;         // web address (edit 1023)
    std::string m_strName;        // icon name (edit 1020)
    std::string m_strImage;       // icon image path, relative to the working folder
    std::string m_strDir;         // folder of the chosen program
    int m_nDesktop = 0;
    FixedString<260> m_szWorkDir;

    // The picture control shows this: the program's icon or the chosen picture.
    QImage m_imgShown;
    // The latest choice was a program: only then does "등록" save m_imgIcon, and
    // m_strImage is then that program's own ".png" path.
    bool m_bProgramChosenLast = false;
    // The "클라이언트 PC 경로" field: m_strDir "\" m_strProgram as the clients use them.
    ClientPathChoice m_clientPath;
    // Reads icon 0 of a program file; a null image when it has none.
    std::function<QImage(const QString& path)> m_readProgramIcon;

    IconInsertModel();
};

// The longest icon name the name edit takes, in bytes (a Hangul syllable is 2): as
// many half-width cells as the edit shows.
inline constexpr std::size_t kIconNameMaxBytes = 32;

// The folder and the file name of a chosen path, split at its last "\" or "/"
// (C:\Games\abc.exe gives C:\Games and abc.exe; no separator: no folder).
struct SplitPath {
    std::string dir;
    std::string name;
};
SplitPath SplitChosenPath(std::string_view path);

// The file dialog filter for choosing a program.
QString ProgramFileFilter();

// True when text can stand as a field of a menu list line: no line break, and no ";"
// unless it is the web address, the last field, which the reader takes whole.
bool FitsMenuField(std::string_view text, bool lastField = false);
// The message that refuses an icon whose fields do not.
QString MenuFieldRefusal();

// Makes the working folder current again (the file dialogs may change it); nothing
// when workDir is empty.
void MakeWorkDirCurrent(std::string_view workDir);

// "프그램명 선택": the program file's name, folder, icon name, image path and icon.
// now is the local time of the choice (the time stamp of a non-ASCII name). False
// when the operator cancelled; the members then stay.
// The program's folder is the one the client PCs use (see ClientProgramFor); its
// icon is read from the local file.
bool SelectProgram(IconInsertModel& model, CommandUi& ui, const QDateTime& now,
                   const ClientDrives& drives = CurrentClientDrives());

// The client path field: what it shows for the members, and its text taken back (an
// edit by the operator since it was shown gives the folder and the program name).
std::string ClientPathShown(const IconInsertModel& model);
void TakeClientPathField(IconInsertModel& model, std::string_view text);

// "아이콘 선택": a picture that decodes and scales to 64 x 64 is copied into
// images\icons (an existing file there is kept) and becomes the icon image. A
// picture that does not shows "아이콘으로 등록 할 수 없습니다." and changes nothing.
// False when cancelled or refused.
bool SelectIconImage(IconInsertModel& model, CommandUi& ui, const QDateTime& now);

// "등록": true when the dialog closes with OK. Without a name, or with a field that
// would break the menu line (";" outside the web address, a line break anywhere), it
// shows a message, writes nothing and the dialog stays; so it does while a chosen
// program's folder on the client PCs is unknown. Without a program it shows a
// message, writes nothing and closes. Otherwise it appends the icon's line to
// MenuListName(m_nDesktop) in the working folder and, when the latest choice was a
// program with an icon, saves that icon as m_strImage (PNG).
bool RegisterIcon(IconInsertModel& model, CommandUi& ui);

// The dialog over a model: controls and members are exchanged around every button.
class CIconInsertDlg : public QDialog {
public:
    CIconInsertDlg(IconInsertModel& model, CommandUi& ui, QWidget* parent = nullptr);

    void OnBnClickedProgramSelect();
    void OnBnClickedIconSelect();
    void OnOK();

    QLineEdit* nameEdit() const { return m_editName; }
    QLineEdit* urlEdit() const { return m_editUrl; }
    QLineEdit* programEdit() const { return m_editProgram; }
    QPushButton* programButton() const { return m_btnProgram; }
    QPushButton* iconButton() const { return m_btnIcon; }
    QLabel* picture() const { return m_picIcon; }
    QLineEdit* clientPathEdit() const { return m_editClientPath; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void TakeControls();
    void LoadControls();
    void CapName(const QString& text);

    IconInsertModel& m_model;
    CommandUi& m_ui;
    QLineEdit* m_editName = nullptr;      // 1020
    QLineEdit* m_editUrl = nullptr;       // 1023
    QLineEdit* m_editProgram = nullptr;   // 1024
    QPushButton* m_btnProgram = nullptr;  // 1022
    QPushButton* m_btnIcon = nullptr;     // 1025
    QLabel* m_picIcon = nullptr;          // 1026
    QLineEdit* m_editClientPath = nullptr;
    QPushButton* m_ok = nullptr;      // 1
    QPushButton* m_cancel = nullptr;  // 2
    QString m_lastName;               // the name edit's text before the latest edit
};

// Runs the dialog modally; true when it closed with "등록".
bool RunIconInsertDlg(IconInsertModel& model, CommandUi& ui, QWidget* parent);

}  // namespace vodirev
