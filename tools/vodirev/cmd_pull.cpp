// vodirev pull ROOM N [T] [--dir DIR]: the editor's start-up without the window. The
// room's files come from the server into DIR (default: the current folder) with the
// editor's requests in the editor's order; files a save left unpublished are kept.
// One line per file on standard error, then a summary. Exit status 0 only when
// every file came.

#include "base/text.h"
#include "batch_command_ui.h"
#include "commands.h"
#include "document/install_images.h"
#include "room_arguments.h"
#include "session/file_list_text.h"
#include "session/startup_sequence.h"

#include <QCoreApplication>
#include <QDir>

using namespace vodirev;

namespace {

int usage(const QString& problem = QString()) {
    if (!problem.isEmpty()) {
        PrintError(QStringLiteral("vodirev pull: ") + problem);
    }
    PrintError(QStringLiteral("usage: vodirev pull ROOM N [T] [--dir DIR]"));
    return 2;
}

QString fileList(const std::vector<std::string>& files) {
    QStringList lines;
    AppendFileList(lines, files);
    return lines.join(u'\n');
}

}  // namespace

int RunPullCommand(const QStringList& words) {
    QStringList positional;
    QString dir = QStringLiteral(".");
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == u"--dir" && i + 1 < words.size()) {
            dir = words[++i];
        } else if (words[i].startsWith(u"--")) {
            return usage(QStringLiteral("unknown option or missing value: ") + words[i]);
        } else {
            positional << words[i];
        }
    }
    if (positional.size() < 2 || positional.size() > 3) {
        return usage();
    }
    QString problem;
    const std::optional<std::string> room = RoomIdArgument(positional[0], problem);
    if (!room) {
        return usage(problem);
    }
    const std::optional<int> desktop = NumberArgument(positional[1]);
    const std::optional<int> templ =
        positional.size() > 2 ? NumberArgument(positional[2]) : std::optional<int>(0);
    if (!desktop || !templ) {
        return usage(QStringLiteral("N and T are numbers of one to nine digits"));
    }
    if (!EnterWorkingFolder(QStringLiteral("pull"), dir, true)) {
        return 1;
    }
    // What the installed editor brings before its start-up.
    ProvideInstallImages(InstalledImagesFolder(QCoreApplication::applicationDirPath()),
                         QDir::currentPath());

    const std::string line = *room + ' ' + std::to_string(*desktop) + ' ' + std::to_string(*templ);
    DesktopSession session;
    CServerClient server;
    int total = 0;
    const StartupNotes notes =
        BringRoomFiles(session, server, line, [&total](const StartupStep& step) {
            total = step.total;
            PrintError(QStringLiteral("%1/%2 %3")
                           .arg(step.index)
                           .arg(step.total)
                           .arg(fromCp949(step.file)));
        });
    if (!notes.roomIdRefused.isEmpty()) {
        return usage(notes.roomIdRefused);
    }
    const QString where = QDir::toNativeSeparators(QDir::currentPath());
    if (!notes.keptUnpublished.empty()) {
        PrintError(QStringLiteral("kept, not overwritten: edits a save could not publish "
                                  "(publish them with vodirev publish):\n") +
                   fileList(notes.keptUnpublished));
    }
    if (notes.serverUnreachable) {
        PrintError(
            QStringLiteral("the server %1 could not be reached or went away")
                .arg(QString::fromStdString(ServerAddressText(ServerAddressFromEnvironment()))));
    }
    if (!notes.notBrought.empty()) {
        PrintError(QStringLiteral("not brought:\n") + fileList(notes.notBrought));
    }
    const bool complete = notes.notBrought.empty() && !notes.serverUnreachable;
    PrintError(QStringLiteral("pull %1 %2 into %3: %4 files asked for, %5")
                   .arg(positional[0])
                   .arg(*desktop)
                   .arg(where)
                   .arg(total)
                   .arg(complete ? QStringLiteral("all done")
                                 : QStringLiteral("%1 not brought").arg(notes.notBrought.size())));
    return complete ? 0 : 1;
}
