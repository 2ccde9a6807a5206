#include "editor/direct_folder_model.h"

#include "base/text.h"

namespace vodirev {

void FillDirectFolder(DirectFolderModel& model, const DesktopSession& /*session*/,
                      const CInfoFolder& shortcut) {
    FillFolderImageChoice(model, shortcut);
    model.m_strLink = shortcut.m_strLink;
    model.m_bProgramChosen = false;
    model.m_clientPath = {shortcut.m_strLink, false};
}

void LoadShortcutImages(DirectFolderModel& model, IconPictures& pictures) {
    LoadFolderImageRows(model, pictures, true);
}

bool ChooseShortcutProgram(DirectFolderModel& model, CommandUi& ui, const ClientDrives& drives) {
    // The seam makes the working folder current again when the file dialog closes.
    const QString chosen =
        ui.ChooseOpenFile(QString(), QString::fromLatin1(kShortcutProgramFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    model.m_clientPath.Choose(ClientProgramFor(chosen, drives));
    model.m_strLink = model.m_clientPath.shown;
    model.m_bProgramChosen = true;
    return true;
}

bool TakeShortcutClientPath(DirectFolderModel& model, std::string_view fieldText, CommandUi& ui) {
    if (!model.m_bProgramChosen) {
        return true;
    }
    model.m_clientPath.Take(fieldText);
    if (model.m_clientPath.folderMissing) {
        ui.ShowMessage(ClientFolderQuestion(fromCp949(model.m_clientPath.shown)));
        return false;
    }
    model.m_strLink = model.m_clientPath.shown;
    return true;
}

}  // namespace vodirev
