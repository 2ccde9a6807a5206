#pragma once
// The recovery copy: what an editing session holds (the layout text, the menu
// records, the launcher, the resolution) kept in the working folder's hidden folder
// while it differs from what was loaded or saved, so a crash, a kill or a power cut
// loses at most the last few seconds. It is never uploaded. The next start-up of the
// same room and desktop offers it when it is newer than the layout it found.

#include "editor/edit_history.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace vodirev {

class CommandUi;

// The working folder's own hidden folder; the server never names it.
inline constexpr const char* kRecoveryFolder = ".vodirev-recovery";
// A copy beyond this is not one of ours (the layout's own limit plus the lists).
inline constexpr qint64 kMaxRecoveryCopyBytes = 96 * 1024 * 1024;

inline constexpr const char* kRestoreQuestion =
    "저장하지 않고 끝난 편집 내용이 있습니다.\n그 내용을 되살릴까요?";
inline constexpr const char* kRestoreStepText = "편집 내용 되살리기";

// The copy's path for a room (CP949 bytes) and desktop, relative to the working folder.
QString RecoveryCopyPath(std::string_view roomId, int desktop);

// The copy's bytes for a state, and the state they give back over base (whose
// launcher picture and everything else no copy holds are kept). A damaged copy, one
// of another room or desktop, gives nothing.
QByteArray BuildRecoveryCopy(const DocumentState& state, std::string_view roomId, int desktop);
std::optional<DocumentState> ParseRecoveryCopy(const QByteArray& bytes, std::string_view roomId,
                                               int desktop, const DocumentState& base);

// Before start-up brings the room's files: the copy's bytes when one exists for the
// room and desktop and is newer than the working folder's layout (or there is none).
// Read now, since start-up may replace the layout it is compared with.
std::optional<QByteArray> TakeNewerRecoveryCopy(std::string_view roomId, int desktop);

// After start-up brought a newer layout over the one a taken copy was compared with:
// the copy is made newer again, so an editor killed before the operator answers (or
// right after a restore) still finds it at the next start.
void MarkRecoveryCopyNewer(std::string_view roomId, int desktop);

// After start-up: offers a taken copy that differs from what was loaded (default:
// restore) and restores it as one step of history. Returns whether it restored.
bool OfferRecoveryCopy(const QByteArray& copy, DesktopSession& session, EditHistory& history,
                       CommandUi& ui);

// Writes copies on a thread of its own: Keep hands over the state at once and the
// copy is written (atomically) a delay later, with the latest state kept by then;
// the editor never waits for the disk.
class RecoveryWriter {
public:
    RecoveryWriter(QString path, std::chrono::milliseconds delay);
    ~RecoveryWriter();  // writes what is still pending
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void Keep(std::function<QByteArray()> build);
    // Drops what is pending, waits for a write under way and removes the copy.
    void Discard();
    // Writes what is pending now and waits for it.
    void Flush();

private:
    void run();
    void writePending(std::unique_lock<std::mutex>& lock);

    const QString m_path;
    const std::chrono::milliseconds m_delay;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::function<QByteArray()> m_pending;
    std::chrono::steady_clock::time_point m_due;
    bool m_writing = false;
    bool m_flushNow = false;
    bool m_stop = false;
    std::thread m_thread;
};

// Keeps the session's recovery copy in step with its history: a modified document
// is written a few seconds after each step, undo and redo; an unmodified one (loaded,
// saved, or undone back to either) has no copy.
class RecoveryKeeper {
public:
    static constexpr std::chrono::milliseconds kDelay{2000};

    RecoveryKeeper(DesktopSession& session, EditHistory& history,
                   std::chrono::milliseconds delay = kDelay);
    // The room and desktop are known once start-up has read the command line.
    void Start();
    // The operator left without saving, or a save completed: no copy.
    void Discard();
    void Flush();

private:
    void onHistoryChanged();

    DesktopSession& m_session;
    EditHistory& m_history;
    const std::chrono::milliseconds m_delay;
    QObject m_context;
    std::unique_ptr<RecoveryWriter> m_writer;
};

}  // namespace vodirev
