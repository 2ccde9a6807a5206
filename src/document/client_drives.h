#pragma once
// The client PCs of a room run Windows; the operator picks their programs on Linux,
// in a Wine prefix, on a client PC's disk mounted over the network or in a copy of
// the clients' games folder. The client drives say which local folder stands for
// which Windows folder, so a chosen program is stored as the path the clients use.

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

struct ClientDrive {
    QString local;        // absolute, without a trailing "/" (except "/" itself)
    std::string windows;  // CP949, "C:\" or "D:\Games": no trailing "\" but after a drive letter
};

class ClientDrives {
public:
    // Every drive of the Wine prefix (its dosdevices links; a drive mapping the whole
    // file system, as Wine's z: does, is left out) and the operator's own entries of
    // driveFile: "LOCAL = WINDOWS" a line, "#" starting a comment; lines that are
    // not such an entry are skipped.
    static ClientDrives Read(const QString& winePrefix, const QString& driveFile);
    // The prefix of WINEPREFIX (else ~/.wine) and ClientDrivesFile().
    static ClientDrives FromEnvironment();

    void Add(const QString& local, std::string_view windows);
    const std::vector<ClientDrive>& drives() const { return m_drives; }

    // The Windows path of a local file under one of the drives (the longest local
    // folder that holds it), the rest joined with "\"; nothing outside every drive.
    std::optional<std::string> WindowsPath(const QString& localFile) const;

private:
    std::vector<ClientDrive> m_drives;  // longest local folder first
};

// "$XDG_CONFIG_HOME/vodirev/client-drives", else "~/.config/vodirev/client-drives".
QString ClientDrivesFile();

// The drives read at start-up (FromEnvironment, once); Reload reads them again.
const ClientDrives& CurrentClientDrives();
void ReloadClientDrives();

// A chosen program as the clients will name it: its Windows path when it lies
// under a client drive, else only its file name (the folder is to be given).
struct ClientProgram {
    std::string dir;   // CP949 Windows folder, without the last "\"; empty when unknown
    std::string name;  // CP949 file name
    bool folderKnown = false;
    // dir "\" name, or the name alone while the folder is unknown.
    std::string FullPath() const;
};
ClientProgram ClientProgramFor(const QString& localFile, const ClientDrives& drives);

// Folder "\" program as the client path field shows them; the program alone when
// there is no folder.
std::string JoinClientPath(std::string_view dir, std::string_view program);

// A Windows path as the operator typed it, split at its last "\" into folder and
// file name ("steam://rungameid/730" has no folder and stays whole).
ClientProgram SplitClientPath(std::string_view path);

// The message asking for the Windows folder of a program outside every client drive.
QString ClientFolderQuestion(const QString& fileName);

}  // namespace vodirev

namespace vodirev {

// The "클라이언트 PC 경로" field of an editing dialog: the Windows path a choice will
// be stored as, which the operator may correct.
struct ClientPathChoice {
    std::string shown;           // CP949, what the field shows
    bool folderMissing = false;  // a program chosen outside every drive, no folder given yet

    void Choose(const ClientProgram& program) {
        shown = program.FullPath();
        folderMissing = !program.folderKnown;
    }
    // The field's text taken back: true when the operator changed it. A path with a
    // folder given settles a missing one.
    bool Take(std::string_view text) {
        if (text == shown) {
            return false;
        }
        shown = std::string(text);
        if (shown.find('\\') != std::string::npos) {
            folderMissing = false;
        }
        return true;
    }
};

}  // namespace vodirev
