#include "room_arguments.h"

#include "base/text.h"
#include "batch_command_ui.h"
#include "session/startup_sequence.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vodirev {

QStringList RoomCommandWords(int argc, const char* const* argv, int first) {
    QStringList words;
    for (int i = first; i < argc; ++i) {
        const char* const one[] = {argv[0], argv[i]};
        words << CommandLineFromArguments(2, one);
    }
    return words;
}

std::optional<std::string> RoomIdArgument(const QString& word, QString& problem) {
    for (const QChar c : word) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            problem =
                QStringLiteral("room id \"%1\" holds a blank or a control character").arg(word);
            return std::nullopt;
        }
    }
    std::string bytes = toCp949(word);
    if (fromCp949(bytes) != word) {
        problem = QStringLiteral("room id \"%1\" cannot be written in code page 949").arg(word);
        return std::nullopt;
    }
    problem = RoomIdProblem(ParseCommandLine(bytes));
    if (!problem.isEmpty()) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<int> NumberArgument(const QString& word) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(word).hasMatch()) {
        return std::nullopt;
    }
    return word.toInt();
}

bool EnterWorkingFolder(const QString& command, const QString& dir, bool create) {
    if (create && !QDir().mkpath(dir)) {
        PrintError(QStringLiteral("vodirev %1: cannot create the folder %2").arg(command, dir));
        return false;
    }
    if (!QFileInfo(dir).isDir() || !QDir::setCurrent(dir)) {
        PrintError(QStringLiteral("vodirev %1: no such folder: %2").arg(command, dir));
        return false;
    }
    return true;
}

}  // namespace vodirev
