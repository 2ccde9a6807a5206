#include "session/save_command.h"

#include "base/paths.h"
#include "base/text.h"
#include "document/file_names.h"
#include "document/unpublished_record.h"
#include "editor/command_ui.h"
#include "editor/frame_renderer.h"
#include "session/file_list_text.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace vodirev {

namespace {

// The title buffer of the title query.
constexpr std::size_t kTitleBufferSize = 512;

bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The common catalogue: fetched from the common folder at every start-up, never
// edited here.
bool IsCommonCatalogue(const std::string& name) {
    for (const char* common :
         {kBackgroundList, kFolderList, kCommonMenuList, kCommonSysMenuList, kDefaultLayoutFile}) {
        if (name == common) {
            return true;
        }
    }
    return false;
}

// A file some desktop of the room publishes: a numbered desktop file, a user list or
// an image. Anything else in the record is not the editor's to keep.
bool IsDesktopFile(const std::string& name) {
    static const QRegularExpression numbered(QStringLiteral(
        "^(desktop\\d{3}\\.(xml|gif)|desktop\\.xml|LIST_(IMAGE|MENU|SYSMENU)_\\d{3}\\.db|"
        "LAUNCHER_\\d{3}\\.TXT)$"));
    return name == kBackgroundUserList || name == kFolderUserList || name.starts_with("images\\") ||
           numbered.match(QString::fromLatin1(name.data(), qsizetype(name.size()))).hasMatch();
}

void AddPending(std::vector<std::string>& pending, const std::string& name) {
    if (!IsCommonCatalogue(name) && LocalFileExists(name) && !Contains(pending, name)) {
        pending.push_back(name);
    }
}

}  // namespace

QString SaveStepText(SaveStep::Kind kind) {
    switch (kind) {
        case SaveStep::Kind::kWrite:
            return QStringLiteral("파일 저장");
        case SaveStep::Kind::kUpload:
            return QStringLiteral("파일 업로드");
        case SaveStep::Kind::kMenuList:
            return QStringLiteral("메뉴 목록 올리기");
        case SaveStep::Kind::kLauncher:
            return QStringLiteral("런처 올리기");
        case SaveStep::Kind::kSysMenuList:
            return QStringLiteral("시스템 메뉴 목록 올리기");
        case SaveStep::Kind::kPreview:
            return QStringLiteral("미리보기 올리기");
        case SaveStep::Kind::kRegister:
            return QStringLiteral("데스크탑 등록");
        case SaveStep::Kind::kSync:
            return QStringLiteral("동기화 요청");
        case SaveStep::Kind::kDone:
            return QStringLiteral("끝");
    }
    return QString();
}

QString SaveProblemsMessage(const SaveReport& report) {
    // The common catalogue is the server's: start-up brings it again, so it is never
    // among the files kept on this PC.
    std::vector<std::string> keptLocal;
    std::vector<std::string> notAttempted;
    bool commonNotSent = false;
    for (const auto& [from, to] : {std::pair{&report.keptLocal, &keptLocal},
                                   std::pair{&report.notAttempted, &notAttempted}}) {
        for (const std::string& name : *from) {
            if (IsCommonCatalogue(name)) {
                commonNotSent = true;
            } else {
                to->push_back(name);
            }
        }
    }
    QStringList lines;
    if (!report.notWritten.empty()) {
        lines << QStringLiteral("저장하지 못한 파일이 있습니다:");
        AppendFileList(lines, report.notWritten);
    }
    if (!keptLocal.empty()) {
        lines << QStringLiteral("서버에 올리지 못한 파일이 있습니다. 이 컴퓨터에만 저장된 파일:");
        AppendFileList(lines, keptLocal);
    }
    if (!notAttempted.empty()) {
        lines << QStringLiteral(
            "서버 연결이 끊겨 올려 보지 못한 파일이 있습니다. 이 컴퓨터에만 저장된 파일 "
            "(서버에 이미 있는 그림일 수 있습니다):");
        AppendFileList(lines, notAttempted);
    }
    if (commonNotSent) {
        lines << QStringLiteral(
            "공용 목록(LIST_MENU.db 등)도 올리지 못했습니다. 공용 목록은 서버의 것이라 다음에 "
            "시작할 때 서버에서 다시 가져옵니다.");
    }
    if (report.localOnly) {
        // Nothing was meant to reach the server.
    } else if (report.registrationSkipped) {
        lines << QStringLiteral(
            "레이아웃 파일을 서버에 올리지 못해 데스크탑을 등록하지 않았습니다. 서버에는 "
            "이전 데스크탑이 그대로 있습니다.");
    } else {
        if (!report.registered) {
            lines << QStringLiteral("서버에 데스크탑을 등록하지 못했습니다.");
        }
        if (!report.synchronised) {
            lines << QStringLiteral("서버에 동기화를 요청하지 못했습니다.");
        }
    }
    return lines.join(u'\n');
}

QString RetrySaveQuestion(const SaveReport& report, bool recordWritten) {
    QStringList lines;
    lines << SaveProblemsMessage(report) << QString()
          << (report.localOnly ? QStringLiteral("다시 저장해 볼까요?")
                               : QStringLiteral("다시 저장하고 서버에 올려 볼까요?"));
    const bool unpublished = !report.keptLocal.empty() || !report.notAttempted.empty();
    if (!unpublished) {
        lines << QStringLiteral("아니요: 편집기를 끝냅니다.");
    } else if (recordWritten) {
        lines << QStringLiteral(
            "아니요: 편집기를 끝냅니다. 올리지 못한 파일은 이 컴퓨터에 남고, 다음에 시작할 때 "
            "서버의 파일로 덮어쓰지 않으며, 다음 저장 때 서버에 올립니다.");
    } else {
        lines << QStringLiteral(
            "아니요: 편집기를 끝냅니다. 올리지 못한 파일의 기록을 남기지 못해, 다음에 시작할 때 "
            "서버의 파일로 덮어쓸 수 있습니다.");
    }
    return lines.join(u'\n');
}

QString PublishOverServerQuestion(int desktop) {
    return QStringLiteral(
               "이 편집기는 서버에 연결하지 못한 채 시작되어 방의 파일을 가져오지 못했습니다. "
               "지금 화면은 이 컴퓨터에 있던 파일이라, 서버의 데스크탑보다 오래되었거나 비어 "
               "있을 수 있습니다.\n\n"
               "서버에 있는 이 데스크탑(%1, 메뉴, 시스템 메뉴, 그림 목록)을 지금 화면의 것으로 "
               "바꿀까요?\n\n"
               "예: 서버에 올립니다.\n"
               "아니요: 이 컴퓨터에만 저장하고 서버의 파일은 그대로 둡니다. 다음에 서버에 "
               "연결되어 시작하면 서버의 파일을 가져옵니다.")
        .arg(QString::fromStdString(SavedLayoutFileName(desktop)));
}

std::vector<std::string> UnpublishedAfterSave(const std::vector<std::string>& before,
                                              const SaveReport& report) {
    std::vector<std::string> pending;
    for (const std::string& name : report.keptLocal) {
        AddPending(pending, name);
    }
    for (const std::string& name : report.notAttempted) {
        AddPending(pending, name);
    }
    for (const std::string& name : before) {
        if (!Contains(report.published, name) && !Contains(report.onServer, name)) {
            AddPending(pending, name);
        }
    }
    return pending;
}

bool RunSaveCommand(SaveCommandContext& context, SaveReport* finalReport) {
    DesktopSession& session = context.session;
    CServerClient& server = context.server;
    CommandUi& ui = context.ui;

    // A server that was away earlier gets another chance: a client that met a
    // transport failure refuses every request until it connects again.
    if (server.TransportFailed()) {
        server.Connect();
    }

    std::string title;
    server.QueryText(TitleQueryTarget(session.m_szRoomId.str(), session.m_nDesktop), title,
                     kTitleBufferSize);
    DesktopSaveModel name;
    name.m_strTitle = title;
    if (!ui.RunDialog(name)) {
        ui.ShowMessage(QString::fromUtf8(kTitleMissingMessage));
        return false;
    }
    const std::string confirmedTitle = name.m_strTitle;

    // The preview is the desktop as the client PCs show it, with the launcher where
    // the operator sees it over the desktop in the editor.
    const QImage preview = context.renderer.RenderDesktop(session);

    // What is shown may be an old or empty desktop: the server's copy is replaced
    // only when the operator says so.
    SaveMode mode = SaveMode::kPublish;
    if (session.m_bServerFilesMissing &&
        !ui.AskYesNo(PublishOverServerQuestion(session.m_nDesktop), false)) {
        mode = SaveMode::kLocalOnly;
    }

    const std::string roomId = session.m_szRoomId.str();
    const UnpublishedRecord record = ReadUnpublishedRecord();
    // Another room's record is left alone unless this save has files to note.
    bool ownRecord = record.roomId == roomId;
    std::vector<std::string> pending = ownRecord ? record.files : std::vector<std::string>();

    // Without a runner the pass runs over the command's own client.
    const UploadPassRunner runPass =
        context.runUploadPass ? context.runUploadPass
                              : UploadPassRunner([&server](const std::string& room, int desktop) {
                                    return UploadPass(server, room, desktop).Run();
                                });
    SaveStep last;
    const SaveProgressFunction progress = [&](const SaveStep& step) {
        last = step;
        if (context.progress) {
            context.progress(step);
        }
    };
    std::vector<std::string> journal;
    bool journalWritten = false;
    // Each file the server now holds is struck off the journal at once.
    const PublishedFunction strikeOff = [&](const std::vector<std::string>& files) {
        const auto before = journal.size();
        std::erase_if(journal, [&files](const std::string& name) { return Contains(files, name); });
        if (journalWritten && journal.size() != before) {
            WriteUnpublishedRecord({roomId, journal});
        }
    };
    for (;;) {
        if (mode == SaveMode::kPublish) {
            // The journal: written before the save replaces the first file, so a save
            // killed at any point leaves every file it had not published named, and
            // the next start-up keeps them instead of downloading older copies.
            journal = pending;
            for (const std::string& name : FilesASaveMayPublish(session)) {
                if (!IsCommonCatalogue(name) && !Contains(journal, name)) {
                    journal.push_back(name);
                }
            }
            journalWritten = WriteUnpublishedRecord({roomId, journal});
            ownRecord = journalWritten || ownRecord;
        }
        last = SaveStep{};
        const SaveReport report = SaveAndPublish(session, server, confirmedTitle, preview, runPass,
                                                 mode, progress, strikeOff);
        journalWritten = false;
        // Noted before the question, so the note survives whatever ends the program.
        bool recordWritten = true;
        if (mode == SaveMode::kPublish) {
            pending = UnpublishedAfterSave(pending, report);
            if (!report.HasProblems()) {
                std::erase_if(pending,
                              [](const std::string& name) { return !IsDesktopFile(name); });
            }
            if (ownRecord || !pending.empty()) {
                recordWritten = WriteUnpublishedRecord({roomId, pending});
                ownRecord = true;
            }
        }
        if (context.progress) {
            context.progress({SaveStep::Kind::kDone, last.total, last.total, {}, 0});
        }
        if (finalReport) {
            *finalReport = report;
        }
        if (!report.HasProblems() || !ui.AskYesNo(RetrySaveQuestion(report, recordWritten))) {
            break;
        }
        if (server.TransportFailed()) {
            server.Connect();
        }
    }
    if (context.endProgram) {
        context.endProgram();
    }
    return true;
}

}  // namespace vodirev
