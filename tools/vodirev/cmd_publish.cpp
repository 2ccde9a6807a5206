// vodirev publish ROOM N [--dir DIR] [--title TEXT] [--to ROOM]... [--to-file FILE]:
// the editor's "저장하고 끝내기" without the window, for the desktop N of the working
// folder DIR (default: the current folder): the files written from the documents
// read there, the preview rendered as the editor renders it, the uploads,
// registration and synchronisation. Further rooms (--to, or one id a line in
// --to-file) get the same desktop after ROOM, in the order given, each once; the
// first room that does not get everything ends the run, its unpublished files noted
// in the folder's journal, the rooms after it untouched. Exit status 0 only when
// every room got everything.

#include "base/regular_file.h"
#include "base/text.h"
#include "base/text_file.h"
#include "batch_command_ui.h"
#include "commands.h"
#include "document/file_names.h"
#include "document/unpublished_record.h"
#include "editor/frame_renderer.h"
#include "editor/korean_fonts.h"
#include "room_arguments.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <QDir>
#include <algorithm>

using namespace vodirev;

namespace {

constexpr const char* kUsage =
    "usage: vodirev publish ROOM N [--dir DIR] [--title TEXT] [--to ROOM]... [--to-file FILE]";

int usage(const QString& problem = QString()) {
    if (!problem.isEmpty()) {
        PrintError(QStringLiteral("vodirev publish: ") + problem);
    }
    PrintError(QString::fromLatin1(kUsage));
    return 2;
}

struct Room {
    QString shown;
    std::string id;  // CP949
};

// Room ids of --to-file: one a line, blanks around it and empty lines ignored.
// False when the file cannot be read.
bool readRoomFile(const QString& file, QStringList& rooms) {
    TextLineReader reader(file);
    if (!reader.isOpen()) {
        return false;
    }
    TextLine line;
    while (reader.readLine(line)) {
        // Read as the room words of the command line are.
        const char* const words[] = {"", line.text.c_str()};
        const QString id = CommandLineFromArguments(2, words).trimmed();
        if (line.tooLong) {
            rooms << QString::fromStdString(line.text);  // refused as too long
        } else if (!id.isEmpty()) {
            rooms << id;
        }
    }
    return true;
}

// The progress lines of one room's save: "k/n name", the upload pass's files each
// counted within the save's steps.
class SaveLines {
public:
    SaveProgressFunction Sink() {
        return [this](const SaveStep& step) {
            if (step.kind == SaveStep::Kind::kUpload) {
                m_upload = step;
                return;
            }
            if (step.kind == SaveStep::Kind::kDone) {
                return;
            }
            print(step.index, step.total,
                  step.file.empty() ? SaveStepText(step.kind) : fromCp949(step.file));
        };
    }
    UploadPassRunner Runner(CServerClient& server) {
        return [this, &server](const std::string& room, int desktop) {
            return UploadPass(server, room, desktop)
                .Run([this](const std::string& file, int index, int /*total*/) {
                    print(m_upload.index + index - 1, m_upload.total, fromCp949(file));
                });
        };
    }

private:
    static void print(int index, int total, const QString& name) {
        PrintError(QStringLiteral("%1/%2 %3").arg(index).arg(total).arg(name));
    }
    SaveStep m_upload;
};

QString roomNames(const std::vector<Room>& rooms, std::size_t from, std::size_t to) {
    QStringList names;
    for (std::size_t i = from; i < to; ++i) {
        names << rooms[i].shown;
    }
    return names.join(QStringLiteral(", "));
}

// One room's save and publish; true when the room got everything.
bool publishRoom(const Room& room, int desktop, const std::optional<std::string>& title,
                 FrameRenderer& renderer) {
    DesktopSession session;
    session.m_szWorkDir = toCp949(QDir::currentPath());
    session.m_szRoomId = room.id;
    LoadWorkingFolder(session, desktop);

    CServerClient server;
    server.Connect();
    BatchCommandUi ui(title);
    SaveLines lines;
    SaveCommandContext context{ui,          session, server, renderer, {}, lines.Runner(server),
                               lines.Sink()};
    SaveReport report;
    RunSaveCommand(context, &report);
    if (!report.HasProblems()) {
        PrintError(QStringLiteral("room %1: published").arg(room.shown));
        return true;
    }
    QString text = QStringLiteral("room %1: not everything was published\n").arg(room.shown) +
                   SaveProblemsMessage(report);
    const UnpublishedRecord record = ReadUnpublishedRecord();
    if (record.roomId == room.id && !record.files.empty()) {
        text += QStringLiteral("\nnoted in %1 for the next pull and publish of this room")
                    .arg(QString::fromLatin1(kUnpublishedRecordFile));
    }
    PrintError(text);
    return false;
}

}  // namespace

int RunPublishCommand(const QStringList& words) {
    QStringList positional;
    QStringList more;
    QString dir = QStringLiteral(".");
    std::optional<QString> title;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == u"--dir" && hasValue) {
            dir = words[++i];
        } else if (word == u"--title" && hasValue) {
            title = words[++i];
        } else if (word == u"--to" && hasValue) {
            more << words[++i];
        } else if (word == u"--to-file" && hasValue) {
            const QString file = words[++i];
            if (!readRoomFile(file, more)) {
                return usage(QStringLiteral("cannot read the room file ") + file);
            }
        } else if (word.startsWith(u"--")) {
            return usage(QStringLiteral("unknown option or missing value: ") + word);
        } else {
            positional << word;
        }
    }
    if (positional.size() != 2) {
        return usage();
    }
    const std::optional<int> desktop = NumberArgument(positional[1]);
    if (!desktop || *desktop < 1) {
        return usage(QStringLiteral("N is a desktop number of one to nine digits, 1 or more"));
    }
    std::optional<std::string> titleBytes;
    if (title) {
        if (std::any_of(title->begin(), title->end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; })) {
            return usage(QStringLiteral("the title holds a control character"));
        }
        titleBytes = toCp949(*title);
        if (fromCp949(*titleBytes) != *title) {
            return usage(QStringLiteral("the title cannot be written in code page 949"));
        }
    }
    // In the order given, each room once.
    std::vector<Room> rooms;
    for (const QString& word : QStringList{positional[0]} + more) {
        QString problem;
        const std::optional<std::string> id = RoomIdArgument(word, problem);
        if (!id) {
            return usage(problem);
        }
        if (std::none_of(rooms.begin(), rooms.end(), [&](const Room& r) { return r.id == *id; })) {
            rooms.push_back({word, *id});
        }
    }
    if (!EnterWorkingFolder(QStringLiteral("publish"), dir, false)) {
        return 1;
    }
    const QString layout = LayoutFileName(*desktop);
    if (OpenRegularFile(layout) == nullptr) {
        PrintError(QStringLiteral("vodirev publish: %1 holds no layout %2: nothing published")
                       .arg(QDir::toNativeSeparators(QDir::currentPath()), layout));
        return 1;
    }
    // A layout the editor would open at another resolution, or without some of its
    // pictures, would be published changed: refused before any room.
    {
        DesktopSession probe;
        const StartupNotes notes = LoadWorkingFolder(probe, *desktop);
        if (notes.resolutionRefused || !notes.refusedImages.isEmpty()) {
            PrintError(QStringLiteral("vodirev publish: ") +
                       (notes.resolutionRefused
                            ? RefusedResolutionMessage(notes.layoutResolution, probe.m_nResWidth,
                                                       probe.m_nResHeight)
                            : RefusedImagesMessage(notes.refusedImages)) +
                       QStringLiteral("\nnothing published"));
            return 1;
        }
    }

    InstallKoreanFontSubstitutions();
    FrameRenderer renderer;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        PrintError(
            QStringLiteral("room %1 (%2 of %3)").arg(rooms[i].shown).arg(i + 1).arg(rooms.size()));
        if (!publishRoom(rooms[i], *desktop, titleBytes, renderer)) {
            QString summary =
                QStringLiteral("publish %1: failed at room %2").arg(*desktop).arg(rooms[i].shown);
            if (i > 0) {
                summary += QStringLiteral("; published: ") + roomNames(rooms, 0, i);
            }
            if (i + 1 < rooms.size()) {
                summary += QStringLiteral("; not published, untouched: ") +
                           roomNames(rooms, i + 1, rooms.size());
            }
            PrintError(summary);
            return 1;
        }
    }
    PrintError(QStringLiteral("publish %1: published to %2")
                   .arg(*desktop)
                   .arg(roomNames(rooms, 0, rooms.size())));
    return 0;
}
