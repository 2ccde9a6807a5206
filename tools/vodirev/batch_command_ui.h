#pragma once
// The command seam for the tool's pull and publish: nobody to ask, so every question
// gets the answer that changes nothing more (no) without being shown (the command
// reports its outcome itself), messages go to standard error, and
// the desktop's name dialog is confirmed with the title given on the command line or
// the one the server holds.

#include "editor/command_ui.h"

#include <optional>
#include <string>

namespace vodirev {

class BatchCommandUi : public CommandUi {
public:
    // title: the name to confirm (CP949); none keeps the server's.
    explicit BatchCommandUi(std::optional<std::string> title) : m_title(std::move(title)) {}

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text, bool defaultYes = true) override;
    QString ChooseOpenFile(const QString& caption, const QString& filter) override;
    std::optional<QColor> ChooseColor(const QColor& initial) override;
    bool RunDialog(DialogModel& model) override;

private:
    std::optional<std::string> m_title;
};

// One line (or more) of text on standard error, UTF-8.
void PrintError(const QString& text);

}  // namespace vodirev
