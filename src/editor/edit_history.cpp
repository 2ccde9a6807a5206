#include "editor/edit_history.h"

#include "editor/command_router.h"
#include "editor/context_menu.h"

#include <QUndoCommand>
#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace vodirev {

namespace {

std::size_t textBytes(const std::string& text) {
    return text.capacity();
}

std::size_t iconBytes(const std::vector<CInfoIcon>& icons) {
    std::size_t bytes = icons.capacity() * sizeof(CInfoIcon);
    for (const CInfoIcon& icon : icons) {
        bytes += textBytes(icon.m_strImage) + textBytes(icon.m_strName) + textBytes(icon.m_strDir) +
                 textBytes(icon.m_strProgram) + textBytes(icon.m_strUrl);
    }
    return bytes;
}

}  // namespace

// The session's members an edit can change, each beside its place in the state.
constexpr auto kEditedMembers =
    std::make_tuple(std::pair{&DesktopSession::m_desktop, &DocumentState::desktop},
                    std::pair{&DesktopSession::m_arrMenu, &DocumentState::menu},
                    std::pair{&DesktopSession::m_arrSysMenu, &DocumentState::sysMenu},
                    std::pair{&DesktopSession::m_nLauncherX, &DocumentState::launcherX},
                    std::pair{&DesktopSession::m_nLauncherY, &DocumentState::launcherY},
                    std::pair{&DesktopSession::m_nLauncherType, &DocumentState::launcherType},
                    std::pair{&DesktopSession::m_pLauncherBitmap, &DocumentState::launcherBitmap},
                    std::pair{&DesktopSession::m_nResWidth, &DocumentState::resWidth},
                    std::pair{&DesktopSession::m_nResHeight, &DocumentState::resHeight});

DocumentState CaptureDocument(const DesktopSession& session) {
    DocumentState state;
    std::apply(
        [&](const auto&... member) { ((state.*member.second = session.*member.first), ...); },
        kEditedMembers);
    state.desktop.m_nNewX = 0;
    state.desktop.m_nNewY = 0;
    return state;
}

void RestoreDocument(DesktopSession& session, const DocumentState& state) {
    const int newX = session.m_desktop.m_nNewX;
    const int newY = session.m_desktop.m_nNewY;
    std::apply(
        [&](const auto&... member) { ((session.*member.first = state.*member.second), ...); },
        kEditedMembers);
    session.m_desktop.m_nNewX = newX;
    session.m_desktop.m_nNewY = newY;
}

std::size_t HeldBytes(const DocumentState& state) {
    const CDesktopInfo& doc = state.desktop;
    std::size_t bytes = sizeof(DocumentState) + iconBytes(state.menu) + iconBytes(state.sysMenu);
    bytes += doc.m_arrFolder.capacity() * sizeof(CInfoFolder);
    for (const CInfoFolder& folder : doc.m_arrFolder) {
        bytes += textBytes(folder.m_strLink) + textBytes(folder.m_strTitle) +
                 textBytes(folder.m_szImage.str()) + textBytes(folder.m_szDir.str());
    }
    bytes += doc.m_arrUserImage.capacity() * sizeof(CInfoUserImage);
    for (const CInfoUserImage& picture : doc.m_arrUserImage) {
        bytes += textBytes(picture.m_strPath);
    }
    for (const CInfoLabel& label : doc.m_label) {
        bytes += textBytes(label.m_strText);
    }
    return bytes + textBytes(doc.m_szBackground.str());
}

class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, std::shared_ptr<const DocumentState> before,
         std::shared_ptr<const DocumentState> after, const QString& text)
        : QUndoCommand(text),
          m_history(history),
          m_before(std::move(before)),
          m_after(std::move(after)) {}

    void undo() override { m_history.restore(m_before); }
    // The edit itself already made the state after: the push's redo has nothing to do.
    void redo() override {
        if (m_bDone) {
            m_history.restore(m_after);
        }
        m_bDone = true;
    }

    const DocumentState* before() const { return m_before.get(); }
    const DocumentState* after() const { return m_after.get(); }

private:
    EditHistory& m_history;
    std::shared_ptr<const DocumentState> m_before;
    std::shared_ptr<const DocumentState> m_after;
    bool m_bDone = false;
};

EditHistory::EditHistory(DesktopSession& session) : m_session(session) {
    Reset();
}

EditHistory::~EditHistory() = default;

void EditHistory::Reset() {
    m_stack.clear();
    m_current = std::make_shared<const DocumentState>(CaptureDocument(m_session));
    const std::size_t perState = std::max<std::size_t>(1, HeldBytes(*m_current));
    const std::size_t affordable = kMemoryBudget / perState;
    m_stack.setUndoLimit(int(std::clamp<std::size_t>(affordable, 1, kMaxSteps)));
    m_stack.setClean();
    m_nDepth = 0;
}

void EditHistory::Begin() {
    if (m_nDepth++ > 0) {
        return;
    }
    // A change made outside any bracket becomes part of the start of this step.
    DocumentState now = CaptureDocument(m_session);
    if (!(now == *m_current)) {
        m_current = std::make_shared<const DocumentState>(std::move(now));
    }
}

bool EditHistory::End(const QString& text) {
    if (m_nDepth == 0 || --m_nDepth > 0) {
        return false;
    }
    auto after = std::make_shared<const DocumentState>(CaptureDocument(m_session));
    if (*after == *m_current) {
        return false;
    }
    auto before = std::exchange(m_current, after);
    m_stack.push(new Step(*this, std::move(before), std::move(after), text));
    return true;
}

bool EditHistory::Undo() {
    if (m_nDepth > 0 || !m_stack.canUndo()) {
        return false;
    }
    m_stack.undo();
    return true;
}

bool EditHistory::Redo() {
    if (m_nDepth > 0 || !m_stack.canRedo()) {
        return false;
    }
    m_stack.redo();
    return true;
}

std::size_t EditHistory::HistoryBytes() const {
    std::set<const DocumentState*> counted;
    std::size_t bytes = 0;
    for (int i = 0; i < m_stack.count(); ++i) {
        const auto* step = static_cast<const Step*>(m_stack.command(i));
        for (const DocumentState* state : {step->before(), step->after()}) {
            if (counted.insert(state).second) {
                bytes += HeldBytes(*state);
            }
        }
    }
    return bytes;
}

void EditHistory::restore(const std::shared_ptr<const DocumentState>& state) {
    const DocumentState previous = CaptureDocument(m_session);
    RestoreDocument(m_session, *state);
    m_current = state;
    if (m_onRestored) {
        m_onRestored(previous);
    }
}

void DropStaleTargets(const DesktopSession& session, CanvasState& state) {
    const CDesktopInfo& doc = session.m_desktop;
    const auto inRange = [](int index, std::size_t size) {
        return index >= 0 && std::size_t(index) < size;
    };
    state.m_nHoverFolder = -1;
    state.m_nHoverText = -1;
    state.m_nHoverImage = -1;
    state.m_bHoverLauncher = false;
    state.m_nPressedFolder = -1;
    state.m_bLauncherDrag = false;
    if (!inRange(state.m_nContextFolder, doc.m_arrFolder.size())) {
        state.m_nContextFolder = -1;
    }
    if (!inRange(state.m_nActiveText, doc.m_label.size()) ||
        doc.m_bLabelUsed[std::size_t(state.m_nActiveText)] == 0) {
        state.m_nActiveText = -1;
    }
    if (!inRange(state.m_nActiveImage, doc.m_arrUserImage.size())) {
        state.m_nActiveImage = -1;
    }
}

void RecordDispatchedCommands(CommandRouter& router, EditHistory& history) {
    router.SetDispatchWrapper([&history](int commandId, const CommandRouter::Handler& handler) {
        history.Record(CommandCaption(commandId), handler);
    });
}

}  // namespace vodirev
