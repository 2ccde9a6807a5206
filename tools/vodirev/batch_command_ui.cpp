#include "batch_command_ui.h"

#include <cstdio>

namespace vodirev {

void PrintError(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void BatchCommandUi::ShowMessage(const QString& text) {
    PrintError(text);
}

bool BatchCommandUi::AskYesNo(const QString& /*text*/, bool /*defaultYes*/) {
    // A retry would loop for as long as the server stays away, and publishing over a
    // server copy nobody has seen is not the tool's to decide. The command reports
    // what the answer left undone.
    return false;
}

QString BatchCommandUi::ChooseOpenFile(const QString& /*caption*/, const QString& /*filter*/) {
    return QString();
}

std::optional<QColor> BatchCommandUi::ChooseColor(const QColor& /*initial*/) {
    return std::nullopt;
}

bool BatchCommandUi::RunDialog(DialogModel& model) {
    auto* name = dynamic_cast<DesktopSaveModel*>(&model);
    if (name == nullptr) {
        return false;
    }
    if (m_title) {
        name->m_strTitle = *m_title;
    }
    return true;
}

}  // namespace vodirev
