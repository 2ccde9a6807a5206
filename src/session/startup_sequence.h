#pragma once
// The editor's start-up: read the command line, bring the room's files from the
// server into the working folder, fetch the images the lists name, then read the
// launcher, the program menus and the layout. Plain functions over the session and
// a server client, so tests run them without a window.

#include "document/desktop_session.h"
#include "imaging/image_io.h"
#include "server/server_client.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// The room id names the room's folder on the server; it is kept in 20 bytes.
inline constexpr std::size_t kMaxRoomIdBytes = 19;

struct StartupCommandLine {
    std::string roomId;           // at most kMaxRoomIdBytes bytes
    std::size_t roomIdBytes = 0;  // the room word's length before the cut
    int desktop = 0;              // N: above 0 switches the server synchronisation on
    int templ = 0;                // T: when not 0 the numbered files come from the common folder
};

// What the operator should hear about once start-up is over.
struct StartupNotes {
    // A side of the layout's resolution was past kMaxResolutionSide: the editor shows
    // the default resolution instead.
    bool resolutionRefused = false;
    QSize layoutResolution;  // as the layout gave it
    // The command line's room id cannot be used: the message. Start-up then did
    // nothing else (no request, no file read) and the editor ends after telling it.
    QString roomIdRefused;
    // Desktop number above 0 and the server could not be reached (or went away on
    // the way): the room's files were not brought, the local copies are shown.
    bool serverUnreachable = false;
    // Files an earlier save could not publish: kept as they are, not asked for.
    std::vector<std::string> keptUnpublished;
    // Files asked for that did not come: a download that failed, or a question the
    // server did not answer (local names, CP949, in the order asked). A file the
    // server says it does not hold is not among them.
    std::vector<std::string> notBrought;
    // Pictures left out because the folder's pictures together passed the pixel
    // budget (local paths, in the order they were refused).
    QStringList refusedImages;
};

// Why the room id cannot be used: empty (the requests would name "/pcroom//"), or
// longer than kMaxRoomIdBytes (cut, two rooms sharing a prefix would publish into
// one folder). Empty when it can.
QString RoomIdProblem(const StartupCommandLine& words);

// What the operator hears about the server once start-up is over: the room's files
// that could not be brought, the unpublished edits that were kept. Empty: nothing.
QString StartupServerMessage(const StartupNotes& notes);

// The message for a refused resolution: the size asked for and the size shown.
QString RefusedResolutionMessage(QSize refused, int shownWidth, int shownHeight);

// The message naming the pictures left out for want of pixel budget.
QString RefusedImagesMessage(const QStringList& files);

// Splits "ROOM N T": the whole line is cut to 63 bytes, the room id to 19 and each
// number word to 9 before conversion; runs of blanks separate the words; a leading
// blank gives an empty room id; missing words give 0.
StartupCommandLine ParseCommandLine(std::string_view line);

// The command line after the program name, words joined by one blank. A word that is
// not valid UTF-8 is taken as code page 949 bytes (a room id typed on a Korean
// console or passed on by another program of the room).
QString CommandLineFromArguments(int argc, const char* const* argv);

// Brings one numbered file: asks "exist.jsp?fn=PATH"; downloads it when the server
// answers 1, deletes the local copy when it answers 0. When the server could not be
// asked, or answered anything else, the local copy stays. False when the file the
// server holds did not come (no answer, another answer, or a failed download).
bool SyncServerFile(CServerClient& server, std::string_view serverPath, const QString& localFile);

// Downloads every image that the lists name and the working folder lacks.
int FetchListImages(CServerClient& server, const DesktopSession& session);

// One file of a start-up: the index-th of the total known so far (the total grows
// once the lists are in and name their images), by its local name.
struct StartupStep {
    int index = 0;
    int total = 0;
    std::string file;  // CP949, as the lists name it

    bool operator==(const StartupStep&) const = default;
};
// Called before each file is asked for, on the thread that runs the start-up.
using StartupProgressFunction = std::function<void(const StartupStep&)>;

// Start-up steps 2 to 9: the command line, then (N above 0) the common files, the
// room's numbered files and the images the lists name. A refused room id stops it
// before any request (notes.roomIdRefused). Files the unpublished record names for
// this room are neither asked for nor downloaded. Needs no window and no GUI thread.
StartupNotes BringRoomFiles(DesktopSession& session, CServerClient& server,
                            std::string_view commandLine,
                            const StartupProgressFunction& progress = {});

// Steps 10 to 12 after BringRoomFiles: the launcher, the menus and the layout, with
// their notes added to notes. Nothing after a refused room id.
void LoadRoomFolder(DesktopSession& session, StartupNotes& notes);

// Start-up steps 2 to 12: everything up to and including reading the layout file.
// The window sizes itself afterwards from session.m_nResWidth / m_nResHeight.
StartupNotes RunStartupSequence(DesktopSession& session, CServerClient& server,
                                std::string_view commandLine,
                                const StartupProgressFunction& progress = {});

// The local half of start-up for desktop N (no network): the launcher when N > 0,
// the menus and the layout, and the resolution taken from the layout. Their
// pictures share one budget of decoded pixels.
StartupNotes LoadWorkingFolder(DesktopSession& session, int desktop,
                               std::int64_t pixelBudget = kFolderPixelBudget);

// "desktop%03d.xml" for N when it can be opened, otherwise "desktop_d.xml".
QString ChooseLayoutFile(int desktop);

}  // namespace vodirev
