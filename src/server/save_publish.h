#pragma once
// Saving a desktop and publishing it: the layout file and the desktop's lists are
// written to the working folder, the upload pass sends the room's shared files, the
// desktop's own files follow, and the desktop is registered and synchronised.

#include "document/desktop_session.h"
#include "document/file_names.h"
#include "server/server_client.h"
#include "server/upload_pass.h"

#include <QImage>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// "getTitle.jsp?id=%s&type=%ld".
std::string TitleQueryTarget(std::string_view roomId, int desktop);

// "desktop_manager.jsp?id=%s&type=%ld&kind=1&fn=%s&width=%ld&height=%ld&title=%s" with
// the preview's remote name (room id + "/" + preview file) and the title's bytes as
// they are (a "%" stays a "%").
std::string RegistrationTarget(std::string_view roomId, int desktop, int width, int height,
                               std::string_view title);

// Runs the upload pass for a room and desktop (the upload dialog in the editor).
using UploadPassRunner = std::function<UploadPassResult(const std::string& roomId, int desktop)>;

// What the save does with the server.
enum class SaveMode {
    kPublish,    // write, then publish, register and synchronise
    kLocalOnly,  // write the same files and send nothing
};

struct SaveReport {
    std::vector<std::string> written;     // local files written, in order
    std::vector<std::string> notWritten;  // local files that could not be written
    std::vector<std::string> published;   // files the server accepted
    std::vector<std::string> onServer;    // images the server already held; not sent
    // Files on this PC whose upload was tried and failed, each once.
    std::vector<std::string> keptLocal;
    // Files on this PC that were not tried because the server had gone away (or
    // the upload pass was stopped), each once and not among keptLocal.
    std::vector<std::string> notAttempted;
    bool picturesListed = false;  // the picture list was written, so the layout has pictures
    bool uploadPassTransportFailed = false;
    // The layout file was not written or the server did not accept it, so the
    // desktop was neither registered nor synchronised: the server would have paired
    // the new preview and title with its old layout.
    bool registrationSkipped = false;
    bool registered = false;    // desktop_manager.jsp answered without an error status
    bool synchronised = false;  // sync.jsp answered without an error status
    bool localOnly = false;     // SaveMode::kLocalOnly: nothing was meant to be sent

    // Anything the operator should hear about: a file not written or not published,
    // or a registration or synchronisation that did not go through.
    bool HasProblems() const {
        if (localOnly) {
            return !notWritten.empty();
        }
        return !notWritten.empty() || !keptLocal.empty() || !notAttempted.empty() ||
               registrationSkipped || !registered || !synchronised;
    }
};

// One step of a save, reported before it runs: what it does, the index-th of the
// steps planned (total), and the file it writes or sends (empty for registration,
// synchronisation and the end).
struct SaveStep {
    enum class Kind {
        kWrite,        // the picture list and the layout file written here
        kUpload,       // the upload pass: passSteps steps from index on
        kMenuList,     // a menu icon the server may lack, then the menu list
        kLauncher,     // the launcher file
        kSysMenuList,  // a system menu icon, then the system menu list
        kPreview,      // the preview picture
        kRegister,     // the desktop registered
        kSync,         // the synchronisation asked for
        kDone,         // the save's result is known (reported by the command)
    };
    Kind kind = Kind::kWrite;
    int index = 0;
    int total = 0;
    std::string file;
    int passSteps = 0;

    bool operator==(const SaveStep&) const = default;
};
using SaveProgressFunction = std::function<void(const SaveStep&)>;
// Told of files the server now holds (accepted, or images it already had), as soon
// as they are known: one by one, the upload pass's all at once when it ends.
using PublishedFunction = std::function<void(const std::vector<std::string>& files)>;

// Every file a save of this desktop may publish, each once: the room's user lists and
// the images they name, the layout file, the picture list and the pictures, the menu
// lists and their icon images, the launcher file and the preview. Taken before the
// save writes anything, so the pictures come from the document, not the old list.
std::vector<std::string> FilesASaveMayPublish(const DesktopSession& session);

// Writes and publishes the desktop with the confirmed title and the preview picture,
// in this order: picture list and layout text, layout file, upload pass, menu list
// (then each menu image the server lacks, then the list), launcher file, system
// menu list (likewise), preview, registration, synchronisation. Local files are
// written whatever the server does; a failed request never stops the save.
// SaveMode::kLocalOnly writes the same files and sends nothing (no upload pass).
SaveReport SaveAndPublish(const DesktopSession& session, CServerClient& server,
                          const std::string& title, const QImage& preview,
                          const UploadPassRunner& runUploadPass, SaveMode mode = SaveMode::kPublish,
                          const SaveProgressFunction& progress = {},
                          const PublishedFunction& published = {});

}  // namespace vodirev
