#include "session/recovery_copy.h"

#include "base/regular_file.h"
#include "document/image_cache.h"
#include "document/layout_reader.h"
#include "document/layout_writer.h"
#include "editor/command_ui.h"
#include "session/startup_sequence.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUndoStack>
#include <charconv>
#include <climits>

namespace vodirev {

namespace {

constexpr std::string_view kMagic = "VODIREV-RECOVERY 1\n";

// Every value is "<length>:<bytes>\n", so any byte may stand in a text.
void putField(QByteArray& out, std::string_view value) {
    out += QByteArray::number(qsizetype(value.size()));
    out += ':';
    out.append(value.data(), qsizetype(value.size()));
    out += '\n';
}
void putNumber(QByteArray& out, long long value) {
    putField(out, std::to_string(value));
}

class FieldReader {
public:
    explicit FieldReader(const QByteArray& bytes)
        : m_bytes(bytes.data(), std::size_t(bytes.size())) {}

    bool skip(std::string_view prefix) {
        if (m_bytes.substr(m_pos, prefix.size()) != prefix) {
            return false;
        }
        m_pos += prefix.size();
        return true;
    }
    std::optional<std::string_view> field() {
        const std::size_t colon = m_bytes.find(':', m_pos);
        if (colon == std::string_view::npos || colon - m_pos > 12) {
            return std::nullopt;
        }
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(m_bytes.data() + m_pos, m_bytes.data() + colon, length);
        if (error != std::errc{} || end != m_bytes.data() + colon ||
            length > m_bytes.size() - colon - 1 || m_bytes.size() - colon - 1 - length < 1 ||
            m_bytes[colon + 1 + length] != '\n') {
            return std::nullopt;
        }
        m_pos = colon + 2 + length;
        return m_bytes.substr(colon + 1, length);
    }
    std::optional<long long> number() {
        const auto text = field();
        long long value = 0;
        if (!text || text->empty() ||
            std::from_chars(text->data(), text->data() + text->size(), value).ptr !=
                text->data() + text->size()) {
            return std::nullopt;
        }
        return value;
    }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

void putIcons(QByteArray& out, const std::vector<CInfoIcon>& icons) {
    putNumber(out, qsizetype(icons.size()));
    for (const CInfoIcon& icon : icons) {
        putNumber(out, icon.m_nFolder);
        for (const std::string* text : {&icon.m_strImage, &icon.m_strName, &icon.m_strDir,
                                        &icon.m_strProgram, &icon.m_strUrl}) {
            putField(out, *text);
        }
    }
}

bool readIcons(FieldReader& in, std::vector<CInfoIcon>& icons) {
    const auto count = in.number();
    // Each entry takes at least 6 fields of 3 bytes: a count past that is damage.
    if (!count || *count < 0 || *count > kMaxRecoveryCopyBytes / 18) {
        return false;
    }
    icons.clear();
    for (long long i = 0; i < *count; ++i) {
        CInfoIcon icon;
        const auto folder = in.number();
        if (!folder || *folder < INT_MIN || *folder > INT_MAX) {
            return false;
        }
        icon.m_nFolder = int(*folder);
        for (std::string* text : {&icon.m_strImage, &icon.m_strName, &icon.m_strDir,
                                  &icon.m_strProgram, &icon.m_strUrl}) {
            const auto value = in.field();
            if (!value) {
                return false;
            }
            *text = std::string(*value);
        }
        icons.push_back(std::move(icon));
    }
    return true;
}

std::optional<int> readInt(FieldReader& in) {
    const auto value = in.number();
    if (!value || *value < INT_MIN || *value > INT_MAX) {
        return std::nullopt;
    }
    return int(*value);
}

// The state without its pictures and fonts: the writer's thread then holds no
// object the GUI thread shares (a font released there would touch its caches).
DocumentState textsOnly(DocumentState state) {
    for (CInfoFolder& icon : state.desktop.m_arrFolder) {
        icon.m_pBitmap = QImage();
    }
    for (CInfoUserImage& picture : state.desktop.m_arrUserImage) {
        picture.m_pBitmap = QImage();
    }
    for (CInfoLabel& label : state.desktop.m_label) {
        label.m_font = QFont();
    }
    state.desktop.m_imgBackground = QImage();
    state.launcherBitmap = QImage();
    return state;
}

bool writeCopy(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).path()) || !IsReplaceableTarget(path)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

QString RecoveryCopyPath(std::string_view roomId, int desktop) {
    // The room id's bytes in hexadecimal: any room id makes a plain file name.
    const QByteArray room = QByteArray(roomId.data(), qsizetype(roomId.size())).toHex();
    return QStringLiteral("%1/%2-%3.copy")
        .arg(QLatin1String(kRecoveryFolder), QString::fromLatin1(room))
        .arg(desktop);
}

QByteArray BuildRecoveryCopy(const DocumentState& state, std::string_view roomId, int desktop) {
    QByteArray out(kMagic.data(), qsizetype(kMagic.size()));
    putField(out, roomId);
    putNumber(out, desktop);
    putNumber(out, state.resWidth);
    putNumber(out, state.resHeight);
    putNumber(out, state.launcherX);
    putNumber(out, state.launcherY);
    putNumber(out, state.launcherType);
    putField(out, BuildLayoutText(state.desktop, state.resWidth, state.resHeight, true));
    putIcons(out, state.menu);
    putIcons(out, state.sysMenu);
    return out;
}

std::optional<DocumentState> ParseRecoveryCopy(const QByteArray& bytes, std::string_view roomId,
                                               int desktop, const DocumentState& base) {
    FieldReader in(bytes);
    if (!in.skip(kMagic)) {
        return std::nullopt;
    }
    const auto room = in.field();
    const auto number = readInt(in);
    if (!room || *room != roomId || !number || *number != desktop) {
        return std::nullopt;
    }
    DocumentState state = base;
    const auto width = readInt(in);
    const auto height = readInt(in);
    const auto launcherX = readInt(in);
    const auto launcherY = readInt(in);
    const auto launcherType = readInt(in);
    const auto layout = in.field();
    if (!width || !height || !launcherX || !launcherY || !launcherType || !layout || *width <= 0 ||
        *height <= 0 || *width > kMaxResolutionSide || *height > kMaxResolutionSide) {
        return std::nullopt;
    }
    if (!readIcons(in, state.menu) || !readIcons(in, state.sysMenu) || !in.atEnd()) {
        return std::nullopt;
    }
    state.resWidth = *width;
    state.resHeight = *height;
    state.launcherX = *launcherX;
    state.launcherY = *launcherY;
    state.launcherType = *launcherType;
    // The layout is read as start-up reads one, its pictures from the working folder.
    state.desktop = CDesktopInfo{};
    state.desktop.m_nNewX = base.desktop.m_nNewX;
    state.desktop.m_nNewY = base.desktop.m_nNewY;
    ImageCache cache;
    if (ReadLayoutBytes(state.desktop, QByteArray(layout->data(), qsizetype(layout->size())),
                        cache) != LayoutLoadStatus::kRead) {
        return std::nullopt;
    }
    return state;
}

std::optional<QByteArray> TakeNewerRecoveryCopy(std::string_view roomId, int desktop) {
    const QString path = RecoveryCopyPath(roomId, desktop);
    const QFileInfo copy(path);
    const QFileInfo layout(ChooseLayoutFile(desktop));
    if (!copy.exists() || (layout.exists() && layout.lastModified() >= copy.lastModified())) {
        return std::nullopt;
    }
    QByteArray bytes;
    if (!ReadRegularFile(path, kMaxRecoveryCopyBytes, bytes, LinkPolicy::Refuse)) {
        return std::nullopt;
    }
    return bytes;
}

void MarkRecoveryCopyNewer(std::string_view roomId, int desktop) {
    QFile copy(RecoveryCopyPath(roomId, desktop));
    if (copy.open(QIODevice::ReadWrite)) {
        copy.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    }
}

bool OfferRecoveryCopy(const QByteArray& copy, DesktopSession& session, EditHistory& history,
                       CommandUi& ui) {
    const DocumentState loaded = CaptureDocument(session);
    const std::optional<DocumentState> kept =
        ParseRecoveryCopy(copy, session.m_szRoomId.str(), session.m_nDesktop, loaded);
    if (!kept || *kept == loaded || !ui.AskYesNo(QString::fromUtf8(kRestoreQuestion), true)) {
        return false;
    }
    return history.Record(QString::fromUtf8(kRestoreStepText),
                          [&] { RestoreDocument(session, *kept); });
}

RecoveryWriter::RecoveryWriter(QString path, std::chrono::milliseconds delay)
    : m_path(std::move(path)), m_delay(delay), m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::Keep(std::function<QByteArray()> build) {
    {
        const std::lock_guard lock(m_mutex);
        // The first change after a write sets the time: later ones join it, so a
        // stream of edits still reaches the disk within the delay.
        if (!m_pending) {
            m_due = std::chrono::steady_clock::now() + m_delay;
        }
        m_pending = std::move(build);
    }
    m_wake.notify_all();
}

void RecoveryWriter::Discard() {
    std::unique_lock lock(m_mutex);
    m_pending = nullptr;
    m_idle.wait(lock, [this] { return !m_writing; });
    QFile::remove(m_path);
}

void RecoveryWriter::Flush() {
    std::unique_lock lock(m_mutex);
    if (m_pending) {
        m_flushNow = true;
        m_wake.notify_all();
    }
    m_idle.wait(lock, [this] { return !m_pending && !m_writing; });
}

void RecoveryWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_pending && (m_stop || m_flushNow || std::chrono::steady_clock::now() >= m_due)) {
            writePending(lock);
            continue;
        }
        if (m_stop) {
            return;
        }
        if (m_pending) {
            m_wake.wait_until(lock, m_due);
        } else {
            m_wake.wait(lock);
        }
    }
}

void RecoveryWriter::writePending(std::unique_lock<std::mutex>& lock) {
    const std::function<QByteArray()> build = std::move(m_pending);
    m_pending = nullptr;
    m_flushNow = false;
    m_writing = true;
    lock.unlock();
    // A copy that cannot be written now is written with the next change.
    writeCopy(m_path, build());
    lock.lock();
    m_writing = false;
    m_idle.notify_all();
}

RecoveryKeeper::RecoveryKeeper(DesktopSession& session, EditHistory& history,
                               std::chrono::milliseconds delay)
    : m_session(session), m_history(history), m_delay(delay) {
    const auto changed = [this] { onHistoryChanged(); };
    QObject::connect(&history.stack(), &QUndoStack::indexChanged, &m_context, changed);
    QObject::connect(&history.stack(), &QUndoStack::cleanChanged, &m_context, changed);
}

void RecoveryKeeper::Start() {
    // Absolute: a file dialog may change the current folder while a copy is written.
    const QString path = QDir::current().absoluteFilePath(
        RecoveryCopyPath(m_session.m_szRoomId.str(), m_session.m_nDesktop));
    m_writer = std::make_unique<RecoveryWriter>(path, m_delay);
    // A copy the operator did not restore stays until an edit or leaving replaces it.
    if (m_history.IsModified()) {
        onHistoryChanged();
    }
}

void RecoveryKeeper::Discard() {
    if (m_writer) {
        m_writer->Discard();
    }
}

void RecoveryKeeper::Flush() {
    if (m_writer) {
        m_writer->Flush();
    }
}

void RecoveryKeeper::onHistoryChanged() {
    if (!m_writer) {
        return;
    }
    if (!m_history.IsModified()) {
        m_writer->Discard();
        return;
    }
    // Taken now; turned into bytes on the writer's thread.
    m_writer->Keep(
        [state = textsOnly(CaptureDocument(m_session)),
         room = std::string(m_session.m_szRoomId.str()),
         desktop = m_session.m_nDesktop] { return BuildRecoveryCopy(state, room, desktop); });
}

}  // namespace vodirev
