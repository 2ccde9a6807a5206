#pragma once
// The shortcut icon dialog's plain half: name, show-name flag, image and what the
// shortcut starts (a program path or a web address).

#include "document/client_drives.h"
#include "document/desktop_session.h"
#include "editor/command_ui.h"
#include "editor/folder_image_choice.h"

#include <QString>
#include <string>

namespace vodirev {

// The program search's filter: one entry, both kinds of program file.
inline constexpr const char* kShortcutProgramFilter = "Program (*.exe *.bat)";

struct DirectFolderModel : FolderImageChoice {
    std::string m_strLink;  // CP949 program path or web address
    // A program chosen in this opening: the Windows path the link becomes.
    bool m_bProgramChosen = false;
    ClientPathChoice m_clientPath;
};

// What the edit command puts into the dialog before it shows.
void FillDirectFolder(DirectFolderModel& model, const DesktopSession& session,
                      const CInfoFolder& shortcut);

// The folder image rows, each with its file name.
void LoadShortcutImages(DirectFolderModel& model, IconPictures& pictures);

// "프로그램 검색": a confirmed program file becomes the link, as the client PCs name
// it (its Windows path under a client drive, else its file name until the operator
// gives the folder); true then, and the dialog shows all members again. Cancelling
// changes nothing.
bool ChooseShortcutProgram(DirectFolderModel& model, CommandUi& ui,
                           const ClientDrives& drives = CurrentClientDrives());

// "적용" after a program was chosen: the client path field's text becomes the link.
// False, with the operator asked for the folder, while it is still unknown.
bool TakeShortcutClientPath(DirectFolderModel& model, std::string_view fieldText, CommandUi& ui);

}  // namespace vodirev
