#pragma once
// What the editor's commands ask of the operator: a message, a yes/no question, a
// file to open, a colour, an editing dialog. Every command reaches the user
// interface only through this seam: the window installs the Qt version, tests a
// fake that answers at once, so the commands run without a display.

#include <QColor>
#include <QString>
#include <optional>
#include <string>

namespace vodirev {

// The plain half of an editing dialog: what a command fills in before the dialog
// runs and reads back after it. Each dialog has one model type.
class DialogModel {
public:
    virtual ~DialogModel() = default;
};

class CommandUi {
public:
    virtual ~CommandUi() = default;

    // A message box with an OK button, over the editor.
    virtual void ShowMessage(const QString& text) = 0;
    // A question with "예" and "아니요"; true for yes. defaultYes chooses the button
    // that Enter presses (Escape always answers no).
    virtual bool AskYesNo(const QString& text, bool defaultYes = true) = 0;
    // A file dialog for opening one existing file, with a Qt name filter
    // ("그림 파일 (*.png *.gif)"). Empty when cancelled. The working folder is
    // the current folder again afterwards.
    virtual QString ChooseOpenFile(const QString& caption, const QString& filter) = 0;
    // The colour dialog, starting at initial; nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
    // Runs the dialog of the model's type modally over the editor. True when the
    // operator confirmed it; the model then holds what was entered.
    virtual bool RunDialog(DialogModel& model) = 0;
};

// The name dialog of "저장하고 끝내기".
struct DesktopSaveModel : DialogModel {
    std::string m_strTitle;  // CP949: the server's title in, the confirmed one out
};

}  // namespace vodirev
