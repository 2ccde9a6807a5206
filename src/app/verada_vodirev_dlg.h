#pragma once
// The editor window: the desktop canvas under the 40-pixel toolbar strip. It only
// forwards what the operator does to the canvas controller, the context menus and
// the command table, and paints the frames the renderer composes: at 100 %, or
// fitted to a screen too small for them (CanvasView).

#include "app/qt_command_ui.h"
#include "dialogs/desktop_save_dlg.h"
#include "dialogs/direct_folder_dlg.h"
#include "dialogs/folder_update_dlg.h"
#include "dialogs/resoluation_dlg.h"
#include "dialogs/s_folder_dlg.h"
#include "dialogs/system_dlg.h"
#include "dialogs/text_dlg.h"
#include "document/desktop_session.h"
#include "editor/apply_messages.h"
#include "editor/background_choice.h"
#include "editor/canvas_controller.h"
#include "editor/canvas_state.h"
#include "editor/canvas_view.h"
#include "editor/command_router.h"
#include "editor/edit_history.h"
#include "editor/frame_renderer.h"
#include "editor/selection.h"
#include "server/server_client.h"
#include "session/recovery_copy.h"

#include <QDialog>
#include <QImage>
#include <QScrollBar>
#include <QString>
#include <functional>
#include <optional>

namespace vodirev {

class CVeradaVodirevDlg : public QDialog, private DialogApplyHandler {
public:
    explicit CVeradaVodirevDlg(QString commandLine, QWidget* parent = nullptr);

    // The start-up sequence: command line, server files, lists, layout, window size,
    // then what the operator should hear about it. False when the command line was
    // refused (the operator was told): the editor is not to be run.
    bool OnInitDialog();

    DesktopSession& session() { return m_session; }
    CanvasState& canvasState() { return m_state; }
    CommandRouter& commands() { return m_router; }
    EditHistory& history() { return m_history; }
    const QImage& canvasImage() const { return m_imgCanvas; }
    const CanvasView& view() const { return m_view; }

    // The screen area the window must fit in, in place of its screen's available
    // geometry (tests pretend a screen with it). Applies from the next sizing.
    void SetScreenArea(QSize area) { m_screenArea = area; }

    // The selection marks, guides and status line over the frame (on unless a test
    // looks at the frame alone).
    void SetEditingOverlayShown(bool shown) { m_bOverlayShown = shown; }
    const ClipboardItems& clipboard() const { return m_clipboard; }

    // Runs the menu command id, as choosing it in a context menu does.
    bool RunCommand(int commandId) { return m_router.Dispatch(commandId); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RouteCommands();
    void RegisterDialogs();
    void OnModifyFolder();
    void OnModifyShortcut();
    void OnModifyBaseFolder();
    void OnModifyControlPanel();
    const CInfoFolder* ContextIcon() const;
    void OnFolderApply(const FolderUpdateModel& dialog) override;
    void OnShortcutApply(const DirectFolderModel& dialog) override;
    void OnBaseFolderApply(const BaseFolderModel& dialog) override;
    void OnSystemApply(const SystemFolderModel& dialog) override;
    void Repaint(const CommandOutcome& outcome);
    void OnSaveAndExit();
    void OnSave();
    void ApplyToContextIcon(const std::function<CommandOutcome(int)>& apply);
    void Apply(const MouseOutcome& outcome);
    void OnRButtonDown(QPoint widget);
    void RunResolutionDialog();
    void RecreateCanvas();
    void Undo();
    void Redo();
    void OnHistoryRestored(const DocumentState& previous);
    void FitToScreen();
    // Sizes the window to the view and shows the scroll bars 100 % needs.
    void ApplyViewSize();
    void SyncScrollBars();
    QPoint ToClient(const QMouseEvent* event) const;
    // The editing commands of the keyboard and the menus' added entries.
    void RouteEditingCommands();
    bool EditSelection(const QString& text, const std::function<bool()>& edit);
    void ShowMenu(int menuId, QPoint widget);
    void OpenMenuForKeyboard();
    void OfferToMoveInside();
    QStringList StatusText() const;

    QString m_commandLine;
    DesktopSession m_session;
    CanvasState m_state;
    EditHistory m_history{m_session};
    RecoveryKeeper m_recovery{m_session, m_history};
    CanvasController m_controller{m_session, m_state};
    FrameRenderer m_renderer;
    CommandRouter m_router;
    CommandRouter m_editRouter;  // the editing commands: each records its own step
    ClipboardItems m_clipboard;
    int m_nUnpublishedFiles = 0;
    bool m_bCheckOffCanvas = false;
    bool m_bOverlayShown = true;  // a resolution change: look for items left outside
    CServerClient m_server;
    CDesktopSaveDlg m_dlgSave;
    QtCommandUi m_ui{this};
    // The modeless editing dialogs: created hidden with the window, above it while
    // shown, destroyed with it.
    CFolderUpdateDlg m_dlgFolderUpdate{m_ui, this, this};
    CDirectFolderDlg m_dlgDirectFolder{m_ui, this, this};
    CSFolderDlg m_dlgSFolder{this, this};
    CSystemDlg m_dlgSystem{this, this};
    CResoluationDlg m_dlgResolution;
    CTextDlg m_dlgText{this};
    BackgroundChoice m_backgroundChoice;  // the picker's last choice, across openings
    bool m_bDragRecorded = false;         // a left press opened a step that its release closes
    bool m_bMovePending = false;          // a press on empty canvas: move once the pointer drags
    QPoint m_ptMoveStart;
    QImage m_frame;      // the whole client area, strip included, as last painted
    QImage m_imgCanvas;  // the desktop-sized top of the last frame
    CanvasView m_view;   // fitted or 100 %: window size and pointer mapping
    std::optional<QSize> m_screenArea;
    QScrollBar* m_hBar = nullptr;  // at 100 % on a screen too small for the frame
    QScrollBar* m_vBar = nullptr;
};

}  // namespace vodirev
