#include "server/upload_pass.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/text_file.h"
#include "document/file_names.h"
#include "document/list_files.h"

#include <algorithm>

namespace vodirev {

namespace {

// Adds a publish-if-missing step for an image path from a list, or notes it as
// refused when it would leave the working folder (an empty field names nothing).
void AddImage(std::vector<UploadStep>& steps, std::string_view path,
              std::vector<std::string>* refused) {
    if (path.empty()) {
        return;
    }
    if (!isInsideWorkingFolder(path)) {
        if (refused != nullptr) {
            refused->emplace_back(path);
        }
        return;
    }
    steps.push_back({UploadStep::Kind::PublishIfMissing, std::string(path)});
}

// Calls `use` with the text of every usable line of a list; nothing when the list
// cannot be opened.
template <typename Use>
void ForEachUsableLine(const QString& listName, Use use) {
    TextLineReader reader(listName);
    TextLine line;
    while (reader.readLine(line)) {
        if (IsUsableListLine(line.text, line.tooLong)) {
            use(std::string_view(line.text));
        }
    }
}

}  // namespace

bool IsUsableListLine(std::string_view text, bool tooLong) {
    // The reader has already taken the line end off; a last line without one keeps
    // all its characters instead of losing its final one.
    return !tooLong && text.size() > 5;
}

UploadPass::UploadPass(CServerClient& server, std::string roomId, int desktop)
    : m_server(server), m_roomId(std::move(roomId)), m_desktop(desktop) {}

std::vector<UploadStep> UploadPass::PlanSteps(int desktop, std::vector<std::string>* refused) {
    std::vector<UploadStep> steps;
    steps.push_back({UploadStep::Kind::Direct, kBackgroundUserList});
    ForEachUsableLine(QString::fromLatin1(kBackgroundUserList), [&](std::string_view text) {
        AddImage(steps, Field(text, ',', 2), refused);
        AddImage(steps, Field(text, ',', 3), refused);
    });
    steps.push_back({UploadStep::Kind::Direct, kFolderUserList});
    ForEachUsableLine(QString::fromLatin1(kFolderUserList),
                      [&](std::string_view text) { AddImage(steps, text, refused); });
    steps.push_back({UploadStep::Kind::Direct, kCommonMenuList});
    steps.push_back({UploadStep::Kind::PublishFile, SavedLayoutFileName(desktop)});
    const QString imageList = ImageListName(desktop);
    ForEachUsableLine(imageList, [&](std::string_view text) { AddImage(steps, text, refused); });
    steps.push_back({UploadStep::Kind::PublishFile, imageList.toStdString()});
    return steps;
}

PublishOutcome UploadPass::RunStep(const UploadStep& step) {
    switch (step.kind) {
        case UploadStep::Kind::Direct: {
            if (m_server.m_bError) {
                return PublishOutcome::NotAttempted;
            }
            const std::string remoteName = RoomFileName(m_roomId, step.path);
            if (m_server.UploadFile(step.path, remoteName, kUploadTarget, m_roomId) != 0) {
                return PublishOutcome::NotUploaded;
            }
            return m_server.LastStatus() >= 400 ? PublishOutcome::NotUploaded
                                                : PublishOutcome::Uploaded;
        }
        case UploadStep::Kind::PublishFile:
            return PublishFile(m_server, m_roomId, step.path);
        case UploadStep::Kind::PublishIfMissing:
            return PublishIfMissing(m_server, m_roomId, step.path);
    }
    return PublishOutcome::NotUploaded;
}

UploadPassResult UploadPass::Run(const ProgressFunction& progress) {
    UploadPassResult result;
    const std::vector<UploadStep> steps = PlanSteps(m_desktop, &result.refused);
    result.stepsPlanned = static_cast<int>(steps.size());
    m_server.Connect();
    // Files already noted, so an image named twice is reported once.
    auto note = [](std::vector<std::string>& list, const std::string& path) {
        if (LocalFileExists(path) && std::find(list.begin(), list.end(), path) == list.end()) {
            list.push_back(path);
        }
    };
    std::size_t next = 0;
    for (; next < steps.size(); ++next) {
        if (m_stop) {
            result.stopped = true;
            break;
        }
        const UploadStep& step = steps[next];
        if (progress) {
            progress(step.path, static_cast<int>(next) + 1, result.stepsPlanned);
        }
        const PublishOutcome outcome = RunStep(step);
        ++result.stepsRun;
        switch (outcome) {
            case PublishOutcome::Uploaded:
                result.published.push_back(step.path);
                break;
            case PublishOutcome::AlreadyOnServer:
                result.onServer.push_back(step.path);
                break;
            case PublishOutcome::NotUploaded:
                note(result.notPublished, step.path);
                break;
            case PublishOutcome::NotAttempted:
                note(result.notAttempted, step.path);
                break;
            case PublishOutcome::Refused:
                result.refused.push_back(step.path);
                break;
        }
        if (m_server.TransportFailed()) {
            // The client refuses every later request: asking again would only
            // repeat the pauses.
            result.transportFailed = true;
            ++next;
            break;
        }
    }
    for (; next < steps.size(); ++next) {
        note(result.notAttempted, steps[next].path);
    }
    std::erase_if(result.notAttempted, [&result](const std::string& path) {
        return std::find(result.notPublished.begin(), result.notPublished.end(), path) !=
               result.notPublished.end();
    });
    return result;
}

}  // namespace vodirev
