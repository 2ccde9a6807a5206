#include "server/save_publish.h"

#include "base/paths.h"
#include "base/text_file.h"
#include "document/layout_writer.h"
#include "document/list_files.h"
#include "imaging/image_io.h"
#include "server/publish.h"

#include <algorithm>
#include <cstdio>

namespace vodirev {

namespace {

void AddOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) {
        list.push_back(name);
    }
}

bool AnsweredOk(const CServerClient& server) {
    return server.LastStatus() >= 200 && server.LastStatus() < 400;
}

// Keeps the report of one save step by step.
class SaveSteps {
public:
    SaveSteps(CServerClient& server, std::string roomId, SaveReport& report, bool publish,
              const SaveProgressFunction& progress, const PublishedFunction& published)
        : m_server(server),
          m_roomId(std::move(roomId)),
          m_report(report),
          m_publish(publish),
          m_progress(progress),
          m_published(published) {}

    void PlanSteps(int total) { m_total = total; }

    // Reports the next steps (one unless a pass of several) before they run.
    void Announce(SaveStep::Kind kind, const std::string& file = {}, int steps = 1) {
        if (m_progress) {
            m_progress(
                {kind, m_index + 1, m_total, file, kind == SaveStep::Kind::kUpload ? steps : 0});
        }
        m_index += steps;
    }

    bool Write(const std::string& name, std::string_view text) {
        const bool ok = WriteTextFile(QString::fromStdString(name), text);
        (ok ? m_report.written : m_report.notWritten).push_back(name);
        return ok;
    }

    void WritePicture(const std::string& name, const QImage& picture) {
        const bool ok =
            !picture.isNull() && SaveBitmapToFile(QString::fromStdString(name), picture);
        (ok ? m_report.written : m_report.notWritten).push_back(name);
    }

    void Publish(const std::string& name) {
        if (m_publish) {
            Note(name, PublishFile(m_server, m_roomId, name));
        }
    }

    void PublishImage(const std::string& path) {
        if (m_publish) {
            Note(path, PublishIfMissing(m_server, m_roomId, path));
        }
    }

    void Merge(const UploadPassResult& pass) {
        if (m_published) {
            std::vector<std::string> held = pass.published;
            held.insert(held.end(), pass.onServer.begin(), pass.onServer.end());
            if (!held.empty()) {
                m_published(held);
            }
        }
        for (const std::string& name : pass.published) {
            m_report.published.push_back(name);
        }
        for (const std::string& name : pass.onServer) {
            AddOnce(m_report.onServer, name);
        }
        for (const std::string& name : pass.notPublished) {
            AddOnce(m_report.keptLocal, name);
        }
        for (const std::string& name : pass.notAttempted) {
            NoteNotAttempted(name);
        }
        m_report.uploadPassTransportFailed = pass.transportFailed;
    }

    bool WasPublished(const std::string& name) const {
        const auto& published = m_report.published;
        return std::find(published.begin(), published.end(), name) != published.end();
    }

private:
    void Note(const std::string& name, PublishOutcome outcome) {
        if (m_published &&
            (outcome == PublishOutcome::Uploaded || outcome == PublishOutcome::AlreadyOnServer)) {
            m_published({name});
        }
        if (outcome == PublishOutcome::Uploaded) {
            m_report.published.push_back(name);
        } else if (outcome == PublishOutcome::AlreadyOnServer) {
            AddOnce(m_report.onServer, name);
        } else if (outcome == PublishOutcome::NotUploaded && LocalFileExists(name)) {
            AddOnce(m_report.keptLocal, name);
        } else if (outcome == PublishOutcome::NotAttempted && LocalFileExists(name)) {
            NoteNotAttempted(name);
        }
    }

    void NoteNotAttempted(const std::string& name) {
        const auto& failed = m_report.keptLocal;
        if (std::find(failed.begin(), failed.end(), name) == failed.end()) {
            AddOnce(m_report.notAttempted, name);
        }
    }

    CServerClient& m_server;
    std::string m_roomId;
    SaveReport& m_report;
    bool m_publish;
    const SaveProgressFunction& m_progress;
    const PublishedFunction& m_published;
    int m_index = 0;
    int m_total = 0;
};

// A menu list and the images its records name: the list is written, each record's
// image goes up when the server lacks it, then the list goes up even when it could
// not be written (the server keeps what it had, or gets an older local copy).
template <typename LineOf>
void SaveMenuList(SaveSteps& steps, SaveStep::Kind kind, const std::string& name,
                  const std::vector<CInfoIcon>& menu, LineOf lineOf) {
    std::string text;
    for (const CInfoIcon& icon : menu) {
        text += lineOf(icon);
    }
    const bool written = steps.Write(name, text);
    for (const CInfoIcon& icon : menu) {
        steps.Announce(kind, icon.m_strImage);
        if (written) {
            steps.PublishImage(icon.m_strImage);
        }
    }
    steps.Announce(kind, name);
    steps.Publish(name);
}

}  // namespace

std::string TitleQueryTarget(std::string_view roomId, int desktop) {
    std::string target = "getTitle.jsp?id=";
    target += roomId;
    target += "&type=";
    target += std::to_string(desktop);
    return target;
}

std::string RegistrationTarget(std::string_view roomId, int desktop, int width, int height,
                               std::string_view title) {
    std::string target = "desktop_manager.jsp?id=";
    target += roomId;
    target += "&type=";
    target += std::to_string(desktop);
    target += "&kind=1&fn=";
    target += RoomFileName(roomId, PreviewFileName(desktop));
    target += "&width=";
    target += std::to_string(width);
    target += "&height=";
    target += std::to_string(height);
    target += "&title=";
    target += title;
    return target;
}

std::vector<std::string> FilesASaveMayPublish(const DesktopSession& session) {
    const int desktop = session.m_nDesktop;
    std::vector<std::string> files;
    for (const UploadStep& step : UploadPass::PlanSteps(desktop)) {
        AddOnce(files, step.path);
    }
    AddOnce(files, SavedLayoutFileName(desktop));
    AddOnce(files, ImageListName(desktop).toStdString());
    for (const CInfoUserImage& picture : session.m_desktop.m_arrUserImage) {
        AddOnce(files, picture.m_strPath);
    }
    for (const auto* menu : {&session.m_arrMenu, &session.m_arrSysMenu}) {
        for (const CInfoIcon& icon : *menu) {
            AddOnce(files, icon.m_strImage);
        }
    }
    AddOnce(files, MenuListName(desktop).toStdString());
    AddOnce(files, LauncherFileName(desktop).toStdString());
    AddOnce(files, SysMenuListName(desktop).toStdString());
    AddOnce(files, PreviewFileName(desktop));
    return files;
}

SaveReport SaveAndPublish(const DesktopSession& session, CServerClient& server,
                          const std::string& title, const QImage& preview,
                          const UploadPassRunner& runUploadPass, SaveMode mode,
                          const SaveProgressFunction& progress,
                          const PublishedFunction& published) {
    SaveReport report;
    const std::string roomId = session.m_szRoomId.str();
    const int desktop = session.m_nDesktop;
    const bool publish = mode == SaveMode::kPublish;
    report.localOnly = !publish;
    SaveSteps steps(server, roomId, report, publish, progress, published);
    const bool runsPass = runUploadPass && publish;
    const int menuSteps = int(session.m_arrMenu.size() + session.m_arrSysMenu.size()) + 2;
    // The written lists, the pass, the menus, launcher and preview, registration and
    // synchronisation, and the end. The pass plans its steps from the lists written
    // before it; the same plan is counted here.
    const int fixedSteps = 2 + menuSteps + 2 + (publish ? 2 : 0) + 1;
    steps.PlanSteps(fixedSteps);

    // The picture list first: the layout names the pictures only when the list that
    // the clients fetch them by could be written.
    std::string pictureList;
    for (const CInfoUserImage& picture : session.m_desktop.m_arrUserImage) {
        pictureList += PathLine(picture.m_strPath);
    }
    steps.Announce(SaveStep::Kind::kWrite, ImageListName(desktop).toStdString());
    report.picturesListed = steps.Write(ImageListName(desktop).toStdString(), pictureList);
    const std::string layout = BuildLayoutText(session.m_desktop, session.m_nResWidth,
                                               session.m_nResHeight, report.picturesListed);
    const std::string layoutName = SavedLayoutFileName(desktop);
    steps.Announce(SaveStep::Kind::kWrite, layoutName);
    const bool layoutWritten = steps.Write(layoutName, layout);

    if (runsPass) {
        const int passSteps = int(UploadPass::PlanSteps(desktop).size());
        steps.PlanSteps(fixedSteps + passSteps);
        steps.Announce(SaveStep::Kind::kUpload, {}, passSteps);
        steps.Merge(runUploadPass(roomId, desktop));
    }
    report.registrationSkipped = publish && (!layoutWritten || !steps.WasPublished(layoutName));

    SaveMenuList(steps, SaveStep::Kind::kMenuList, MenuListName(desktop).toStdString(),
                 session.m_arrMenu, MenuLine);

    const std::string launcher = LauncherFileName(desktop).toStdString();
    steps.Announce(SaveStep::Kind::kLauncher, launcher);
    steps.Write(launcher,
                LauncherLine(session.m_nLauncherX, session.m_nLauncherY, session.m_nLauncherType));
    steps.Publish(launcher);

    SaveMenuList(steps, SaveStep::Kind::kSysMenuList, SysMenuListName(desktop).toStdString(),
                 session.m_arrSysMenu, SysMenuLine);

    const std::string previewName = PreviewFileName(desktop);
    steps.Announce(SaveStep::Kind::kPreview, previewName);
    steps.WritePicture(previewName, preview);
    steps.Publish(previewName);

    if (report.registrationSkipped || !publish) {
        return report;
    }
    steps.Announce(SaveStep::Kind::kRegister);
    server.QueryNumber(
        RegistrationTarget(roomId, desktop, session.m_nResWidth, session.m_nResHeight, title));
    report.registered = AnsweredOk(server);
    steps.Announce(SaveStep::Kind::kSync);
    server.QueryNumber("sync.jsp");
    report.synchronised = AnsweredOk(server);
    return report;
}

}  // namespace vodirev
