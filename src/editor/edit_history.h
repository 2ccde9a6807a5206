#pragma once
// The undo history of one editing session. Each step holds the editor's state before
// and after one command or one whole drag; neighbouring steps share the state
// between them, and pictures are shared with the live document, so a step costs
// about the document's texts. Undo restores what the editor holds; files a command
// wrote to the working folder (copied images, list lines) stay.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace vodirev {

class CommandRouter;

// Asked when the window is closed with changes (the default answer is no).
inline constexpr const char* kLeaveUnsavedQuestion =
    "저장하지 않은 변경 내용이 있습니다. 저장하지 않고 끝낼까요?";

// Everything an edit can change: the document, the menu records, the launcher and
// the resolution. Where the next new icon goes (the last right click) is no edit.
struct DocumentState {
    CDesktopInfo desktop;
    std::vector<CInfoIcon> menu;
    std::vector<CInfoIcon> sysMenu;
    int launcherX = 0;
    int launcherY = 0;
    int launcherType = 0;
    QImage launcherBitmap;
    int resWidth = 0;
    int resHeight = 0;

    bool operator==(const DocumentState&) const = default;
};

DocumentState CaptureDocument(const DesktopSession& session);
// Puts state into session, keeping the session's new-icon point.
void RestoreDocument(DesktopSession& session, const DocumentState& state);
// The bytes a state holds besides the pictures it shares.
std::size_t HeldBytes(const DocumentState& state);

class EditHistory {
public:
    // At least this many steps are kept, unless the document is so large that they
    // would pass the history's memory budget.
    static constexpr int kMinSteps = 100;
    static constexpr int kMaxSteps = 1000;
    static constexpr std::size_t kMemoryBudget = std::size_t(256) << 20;

    explicit EditHistory(DesktopSession& session);
    ~EditHistory();

    // The session as it stands is the unmodified start: no steps, nothing to undo.
    void Reset();

    // Brackets one edit; nested brackets make one step. End records a step when the
    // state differs from the one before Begin, and returns whether it did.
    void Begin();
    bool End(const QString& text);
    template <class Edit>
    bool Record(const QString& text, Edit&& edit) {
        Begin();
        edit();
        return End(text);
    }

    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    int StepCount() const { return m_stack.count(); }
    int StepLimit() const { return m_stack.undoLimit(); }
    // Something was changed since Reset (undoing back to the start is no change).
    bool IsModified() const { return !m_stack.isClean(); }
    // The document as it stands was saved: no change until the next step or undo.
    void MarkSaved() { m_stack.setClean(); }
    // The bytes the steps hold together, shared states counted once.
    std::size_t HistoryBytes() const;

    // Called after an undo or redo put a state into the session, with the state the
    // session held before (the window resizes when the resolution changed).
    void SetRestoredHandler(std::function<void(const DocumentState& previous)> handler) {
        m_onRestored = std::move(handler);
    }

    QUndoStack& stack() { return m_stack; }

private:
    class Step;
    void restore(const std::shared_ptr<const DocumentState>& state);

    DesktopSession& m_session;
    QUndoStack m_stack;
    std::shared_ptr<const DocumentState> m_current;  // the state the last step left
    int m_nDepth = 0;
    std::function<void(const DocumentState&)> m_onRestored;
};

// After an undo or redo: what the pointer grabbed or hovers is forgotten, and the
// targets of the latest right click are kept only while they still name an item.
void DropStaleTargets(const DesktopSession& session, CanvasState& state);

// Every dispatched command becomes one step of history (a command that changes
// nothing leaves none).
void RecordDispatchedCommands(CommandRouter& router, EditHistory& history);

}  // namespace vodirev
