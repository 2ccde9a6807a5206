#pragma once
// The transfer pass of the upload dialog: the room's shared user lists and the
// images they name, the layout file, the picture list and its pictures, sent in a
// fixed order over one client. A plain class so it runs without a window.

#include "server/publish.h"
#include "server/server_client.h"

#include <QString>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// The list lines that name files: the line end already removed by the reader; a
// line of five bytes or fewer, or one longer than the reader's limit, names nothing.
bool IsUsableListLine(std::string_view text, bool tooLong);

struct UploadStep {
    enum class Kind {
        Direct,           // UploadFile without a query
        PublishFile,      // is_file.jsp (reply not used), then UploadFile
        PublishIfMissing  // is_file.jsp, UploadFile only when the reply is 0
    };
    Kind kind = Kind::Direct;
    std::string path;  // local name as stored (CP949, backslashes kept)

    bool operator==(const UploadStep&) const = default;
};

struct UploadPassResult {
    std::vector<std::string> published;     // sent and accepted
    std::vector<std::string> onServer;      // images the server said it holds; not sent
    std::vector<std::string> notPublished;  // on this PC; its upload was tried and failed
    // On this PC and not tried because the server went away or the pass was stopped
    // (an image among them may already be on the server).
    std::vector<std::string> notAttempted;
    std::vector<std::string> refused;  // list entries leaving the working folder
    int stepsRun = 0;
    int stepsPlanned = 0;
    bool transportFailed = false;  // the server went away; the rest was not attempted
    bool stopped = false;          // Stop() ended the pass early
};

class UploadPass {
public:
    // file: the local name being sent; index: 1-based step; total: all steps.
    using ProgressFunction = std::function<void(const std::string& file, int index, int total)>;

    UploadPass(CServerClient& server, std::string roomId, int desktop);

    // The steps in order, read from the lists in the working folder. Lists that do
    // not exist give no entries (their direct upload is still a step: it fails
    // quietly). Unsafe entries are left out and noted in refused (when given).
    static std::vector<UploadStep> PlanSteps(int desktop,
                                             std::vector<std::string>* refused = nullptr);

    // Connects the client and runs every step. A failed upload fails its file only;
    // a transport error (the server gone) ends the pass: the client refuses
    // everything after it, and the remaining files are listed as not attempted.
    // progress is called before each step.
    UploadPassResult Run(const ProgressFunction& progress = {});

    // Asks a running pass to end before its next step (thread-safe).
    void Stop() { m_stop = true; }

private:
    PublishOutcome RunStep(const UploadStep& step);

    CServerClient& m_server;
    std::string m_roomId;
    int m_desktop;
    std::atomic<bool> m_stop{false};
};

}  // namespace vodirev
