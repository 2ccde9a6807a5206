#include "editor/direct_folder_model.h"

#include "base/text.h"

namespace vodirev {

void FillDirectFolder(DirectFolderModel& model, const DesktopSession& /*session*/,
                      const CInfoFolder& shortcut) {
    FillFolderImageChoice(model, shortcut);
    model.m_strLink = shortcut.m_strLink;
}

void LoadShortcutImages(DirectFolderModel& model, IconPictures& pictures) {
    LoadFolderImageRows(model, pictures, true);
}

bool ChooseShortcutProgram(DirectFolderModel& model, CommandUi& ui) {
    // The seam makes the working folder current again when the file dialog closes.
    const QString chosen =
        ui.ChooseOpenFile(QString(), QString::fromLatin1(kShortcutProgramFilter));
    if (chosen.isEmpty()) {
        return false;
    }
    model.m_strLink = toCp949(chosen);
    return true;
}

}  // namespace vodirev
