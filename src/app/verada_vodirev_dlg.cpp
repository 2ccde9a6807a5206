#include "app/verada_vodirev_dlg.h"

#include "app/about_text.h"
#include "app/save_progress.h"
#include "app/startup_progress.h"
#include "base/text.h"
#include "dialogs/background_dlg.h"
#include "dialogs/context_menu_widget.h"
#include "dialogs/icon_insert_dlg.h"
#include "dialogs/icon_update_dlg.h"
#include "dialogs/user_font_dialog.h"
#include "document/unpublished_record.h"
#include "editor/command_ids.h"
#include "editor/context_menu.h"
#include "editor/desktop_commands.h"
#include "editor/editing_commands.h"
#include "editor/editing_marks.h"
#include "editor/icon_commands.h"
#include "editor/status_line.h"
#include "editor/toolbar_tips.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>
#include <memory>

namespace vodirev {

CVeradaVodirevDlg::CVeradaVodirevDlg(QString commandLine, QWidget* parent)
    : QDialog(parent),
      m_commandLine(std::move(commandLine)),
      m_dlgSave(this),
      m_dlgResolution(this) {
    setWindowTitle(QStringLiteral("데스탑 화면 편집 관리자"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Every paint covers the whole client area: no erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    // At 100 % the strip stays in view and scroll bars show where the frame is.
    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_vBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_hBar, m_vBar}) {
        bar->hide();
        bar->setCursor(Qt::ArrowCursor);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (m_view.ScrollTo(QPoint(m_hBar->value(), m_vBar->value()))) {
                update();
            }
        });
    }
    m_view.SetScrollBarExtent(style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    RegisterDialogs();
    RouteCommands();
    // Every menu command is one step of history. One that adds or removes icons or
    // pictures shifts the indices the selection holds: the selection is given up
    // rather than left naming other items.
    m_router.SetDispatchWrapper([this](int commandId, const CommandRouter::Handler& handler) {
        const CDesktopInfo& desktop = m_session.m_desktop;
        const auto counts = [&desktop] {
            return std::pair(desktop.m_arrFolder.size(), desktop.m_arrUserImage.size());
        };
        const auto before = counts();
        const std::optional<CInfoFolder> target =
            ContextIcon() ? std::optional(*ContextIcon()) : std::nullopt;
        m_history.Record(CommandCaption(commandId), handler);
        if (counts() != before) {
            m_state.m_selection.clear();
            // The open dialogs' target follows its icon past a deletion.
            if (target) {
                m_state.m_nContextFolder =
                    FollowIcon(desktop, m_state.m_nContextFolder, *target, true);
            }
        }
        DropStale(m_session, m_state.m_selection);
        // A save publishes or notes the files still waiting: the status line follows.
        m_nUnpublishedFiles = int(KeptUnpublishedFiles(m_session.m_szRoomId.str()).size());
    });
    RouteEditingCommands();
    m_controller.SetSnapping(true);
    m_history.SetRestoredHandler(
        [this](const DocumentState& previous) { OnHistoryRestored(previous); });
}

void CVeradaVodirevDlg::RegisterDialogs() {
    m_ui.SetDialogRunner<DesktopSaveModel>(
        [this](DesktopSaveModel& model) { return RunDesktopSaveDlg(m_dlgSave, model); });
    // The icon dialogs open from the folder editor, modal over it.
    m_ui.SetDialogRunner<IconInsertModel>([this](IconInsertModel& model) {
        return RunIconInsertDlg(model, m_ui, &m_dlgFolderUpdate);
    });
    m_ui.SetDialogRunner<IconUpdateModel>([this](IconUpdateModel& model) {
        return RunIconUpdateDlg(model, m_ui, &m_dlgFolderUpdate);
    });
    m_ui.SetDialogRunner<LabelTextModel>(
        [this](LabelTextModel& model) { return m_dlgText.Run(model); });
    m_ui.SetDialogRunner<UserFontModel>(
        [this](UserFontModel& model) { return RunUserFontDialog(model, this); });
    m_ui.SetDialogRunner<BackgroundChoice>(
        [this](BackgroundChoice& choice) { return RunBackgroundDlg(choice, this); });
}

void CVeradaVodirevDlg::RouteCommands() {
    // Commands are routed as their handlers exist; the others show disabled.
    m_router.Route(ID_SAVE_AND_EXIT, [this] { OnSaveAndExit(); });
    m_router.Route(ID_MODIFY_FOLDER, [this] { OnModifyFolder(); });
    m_router.Route(ID_MODIFY_SHORTCUT, [this] { OnModifyShortcut(); });
    m_router.Route(ID_MODIFY_BASE_FOLDER, [this] { OnModifyBaseFolder(); });
    m_router.Route(ID_MODIFY_CONTROL_PANEL, [this] { OnModifyControlPanel(); });
    RouteIconCommands(m_router, {m_session, m_state, m_ui},
                      [this](const CommandOutcome& outcome) { Repaint(outcome); });
    RouteDesktopCommands(m_router, {m_session, m_state, m_ui, m_backgroundChoice},
                         [this](const CommandOutcome& outcome) { Repaint(outcome); });
    // Leaving without saving asks nothing and writes no layout.
    m_router.Route(ID_EXIT_WITHOUT_SAVE, [this] {
        m_recovery.Discard();
        done(QDialog::Rejected);
    });
}

const CInfoFolder* CVeradaVodirevDlg::ContextIcon() const {
    const int target = m_state.m_nContextFolder;
    const auto& icons = m_session.m_desktop.m_arrFolder;
    return target >= 0 && std::size_t(target) < icons.size() ? &icons[std::size_t(target)]
                                                             : nullptr;
}

// Each edit command refills its dialog, so nothing of an earlier edit shows.
void CVeradaVodirevDlg::OnModifyFolder() {
    if (const CInfoFolder* folder = ContextIcon()) {
        FillFolderUpdate(m_dlgFolderUpdate.model(), m_session, *folder);
        m_dlgFolderUpdate.show();
        m_dlgFolderUpdate.LoadFolderContents();
    }
}

void CVeradaVodirevDlg::OnModifyShortcut() {
    if (const CInfoFolder* shortcut = ContextIcon()) {
        FillDirectFolder(m_dlgDirectFolder.model(), m_session, *shortcut);
        m_dlgDirectFolder.show();
        m_dlgDirectFolder.LoadShortcutImages();
    }
}

void CVeradaVodirevDlg::OnModifyBaseFolder() {
    if (const CInfoFolder* item = ContextIcon()) {
        FillBaseFolder(m_dlgSFolder.model(), *item);
        m_dlgSFolder.show();
        m_dlgSFolder.LoadBaseFolderImages();
    }
}

void CVeradaVodirevDlg::OnModifyControlPanel() {
    if (const CInfoFolder* panel = ContextIcon()) {
        FillSystemFolder(m_dlgSystem.model(), m_session, *panel);
        m_dlgSystem.show();
        m_dlgSystem.LoadSystemFolderContents();
    }
}

// Each apply goes to the icon of the latest right click, as every item command; one
// that finds no icon of its kind there changes nothing and says so.
void CVeradaVodirevDlg::ApplyToContextIcon(const std::function<CommandOutcome(int)>& apply) {
    CommandOutcome outcome;
    m_history.Record(windowTitle(), [&] { outcome = apply(m_state.m_nContextFolder); });
    if (!outcome.repaint) {
        m_ui.ShowMessage(QString::fromUtf8(kApplyTargetGoneMessage));
    }
    Repaint(outcome);
}
void CVeradaVodirevDlg::OnFolderApply(const FolderUpdateModel& dialog) {
    ApplyToContextIcon([&](int target) { return ApplyFolderUpdate(m_session, target, dialog); });
}
void CVeradaVodirevDlg::OnShortcutApply(const DirectFolderModel& dialog) {
    ApplyToContextIcon([&](int target) { return ApplyShortcut(m_session, target, dialog); });
}
void CVeradaVodirevDlg::OnBaseFolderApply(const BaseFolderModel& dialog) {
    ApplyToContextIcon([&](int target) { return ApplyBaseFolder(m_session, target, dialog); });
}
void CVeradaVodirevDlg::OnSystemApply(const SystemFolderModel& dialog) {
    ApplyToContextIcon([&](int target) { return ApplySystemFolder(m_session, target, dialog); });
}

void CVeradaVodirevDlg::Repaint(const CommandOutcome& outcome) {
    if (outcome.repaint) {
        update();
    }
}

void CVeradaVodirevDlg::OnSaveAndExit() {
    SaveProgressDisplay display(this);
    SaveCommandContext context{m_ui,
                               m_session,
                               m_server,
                               m_renderer,
                               [this] { done(QDialog::Accepted); },
                               display.Runner(),
                               display.Sink()};
    if (RunSaveCommand(context)) {
        m_recovery.Discard();
    }
}

// The same save and publish as "저장하고 끝내기", and the editor stays open.
void CVeradaVodirevDlg::OnSave() {
    SaveProgressDisplay display(this);
    SaveCommandContext context{m_ui,    m_session,        m_server,      m_renderer,
                               nullptr, display.Runner(), display.Sink()};
    if (RunSaveCommand(context)) {
        m_history.MarkSaved();
        update();
    }
}

bool CVeradaVodirevDlg::OnInitDialog() {
    m_state = CanvasState{};
    // Taken before start-up brings the room's layout over the one it is compared with.
    const StartupCommandLine words = ParseCommandLine(toCp949(m_commandLine));
    const std::optional<QByteArray> recoveryCopy =
        TakeNewerRecoveryCopy(words.roomId, words.desktop);
    StartupNotes notes =
        BringRoomFilesShowingProgress(m_session, m_server, toCp949(m_commandLine), this);
    LoadRoomFolder(m_session, notes);
    if (recoveryCopy) {
        MarkRecoveryCopyNewer(words.roomId, words.desktop);
    }
    if (!notes.roomIdRefused.isEmpty()) {
        m_ui.ShowMessage(notes.roomIdRefused);
        return false;
    }
    RecreateCanvas();
    move(0, 0);
    m_state.m_bLauncherDrag = false;
    m_history.Reset();
    if (notes.resolutionRefused) {
        m_ui.ShowMessage(RefusedResolutionMessage(notes.layoutResolution, m_session.m_nResWidth,
                                                  m_session.m_nResHeight));
    }
    if (!notes.refusedImages.isEmpty()) {
        m_ui.ShowMessage(RefusedImagesMessage(notes.refusedImages));
    }
    if (const QString message = StartupServerMessage(notes); !message.isEmpty()) {
        m_ui.ShowMessage(message);
    }
    m_nUnpublishedFiles = int(KeptUnpublishedFiles(m_session.m_szRoomId.str()).size());
    if (recoveryCopy) {
        const int width = m_session.m_nResWidth;
        const int height = m_session.m_nResHeight;
        if (OfferRecoveryCopy(*recoveryCopy, m_session, m_history, m_ui) &&
            (width != m_session.m_nResWidth || height != m_session.m_nResHeight)) {
            RecreateCanvas();
        }
    }
    m_recovery.Start();
    OfferToMoveInside();
    return true;
}

void CVeradaVodirevDlg::RecreateCanvas() {
    const int width = m_session.m_nResWidth;
    const int height = m_session.m_nResHeight;
    m_imgCanvas = QImage(width, height, QImage::Format_RGB32);
    m_imgCanvas.fill(Qt::black);
    m_view.SetFrameSize(QSize(width, height + m_state.m_nToolbarHeight));
    m_view.SetFixedStrip(m_state.m_nToolbarHeight);
    FitToScreen();
    update();
}

// The window takes the view's size: the frame where it fits the screen's available
// area less the window manager's frame (known once the window has been shown),
// else the frame fitted or scrolled.
void CVeradaVodirevDlg::FitToScreen() {
    QSize area;
    if (m_screenArea) {
        area = *m_screenArea;
    } else if (const QScreen* current = screen()) {
        area = current->availableGeometry().size();
    }
    if (!area.isEmpty()) {
        area = (area - (frameGeometry().size() - size())).expandedTo(QSize(1, 1));
    }
    m_view.SetAvailableSize(area);
    ApplyViewSize();
}

void CVeradaVodirevDlg::ApplyViewSize() {
    setFixedSize(m_view.WidgetSize());
    SyncScrollBars();
}

void CVeradaVodirevDlg::SyncScrollBars() {
    const QSize widget = m_view.WidgetSize();
    const QSize viewport = m_view.ViewportSize();
    const QPoint offset = m_view.ScrollOffset();
    const QPoint range = m_view.MaxScrollOffset();
    const int strip = m_view.fixedStrip();
    const auto place = [](QScrollBar* bar, bool shown, QRect where, int max, int page, int value) {
        bar->setVisible(shown);
        if (shown) {
            const QSignalBlocker quiet(bar);
            bar->setGeometry(where);
            bar->setRange(0, max);
            bar->setPageStep(page);
            bar->setSingleStep(CanvasView::kWheelStep);
            bar->setValue(value);
        }
    };
    place(m_hBar, m_view.NeedsHorizontalBar(),
          QRect(0, viewport.height(), viewport.width(), widget.height() - viewport.height()),
          range.x(), viewport.width(), offset.x());
    // The vertical bar runs beside the canvas, under the fixed strip.
    place(m_vBar, m_view.NeedsVerticalBar(),
          QRect(viewport.width(), strip, widget.width() - viewport.width(),
                viewport.height() - strip),
          range.y(), std::max(1, viewport.height() - strip), offset.y());
}

QPoint CVeradaVodirevDlg::ToClient(const QMouseEvent* event) const {
    return m_view.ToClient(event->position().toPoint());
}

void CVeradaVodirevDlg::paintEvent(QPaintEvent*) {
    m_renderer.RenderFrameInto(m_frame, m_session, m_state);
    QPainter painter(this);
    const int strip = m_view.fixedStrip();
    const QSize viewport = m_view.ViewportSize();
    if (m_view.IsScaled()) {
        painter.drawImage(0, 0, m_view.ScaledFrame(m_frame));
    } else {
        // At 100 % with scrolling the strip stays at the top; the canvas scrolls under it.
        const QPoint offset = m_view.ScrollOffset();
        painter.drawImage(
            QPoint(0, strip), m_frame,
            QRect(offset.x(), offset.y() + strip, viewport.width(), viewport.height() - strip));
        if (strip > 0) {
            painter.drawImage(QPoint(0, 0), m_frame, QRect(0, 0, viewport.width(), strip));
            // The corner between the two scroll bars.
            painter.fillRect(QRect(QPoint(viewport.width(), viewport.height()), size()),
                             palette().window());
        }
    }
    // Editing marks and the status line go over the shown frame only.
    if (m_bOverlayShown) {
        painter.save();
        painter.setClipRect(QRect(0, strip, viewport.width(), viewport.height() - strip));
        PaintEditingMarks(painter, m_view.ClientToWidget(), m_session, m_state);
        painter.restore();
        PaintStatusLine(painter, m_view.StripToWidget(), m_view.frameSize().width(),
                        m_state.m_nToolbarHeight, StatusText());
    }
    // The canvas image keeps the top of the frame at the desktop's resolution.
    if (!m_frame.isNull() && !m_imgCanvas.isNull()) {
        QPainter canvas(&m_imgCanvas);
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.drawImage(0, 0, m_frame, 0, 0, m_imgCanvas.width(), m_imgCanvas.height());
    }
}

void CVeradaVodirevDlg::Apply(const MouseOutcome& outcome) {
    if (outcome.cursor) {
        setCursor(*outcome.cursor);
    }
    // The system move starts only once the pointer drags: handing the press to the
    // window manager at once would swallow the release that the toolbar buttons need.
    if (outcome.startWindowMove) {
        m_bMovePending = true;
        m_ptMoveStart = m_state.m_ptPress;
    }
    if (outcome.openResolutionDialog) {
        RunResolutionDialog();
    }
    if (outcome.repaint) {
        update();
    }
}

void CVeradaVodirevDlg::RunResolutionDialog() {
    if (m_dlgResolution.exec() == QDialog::Accepted && m_dlgResolution.m_bChosen == 1 &&
        m_controller.ApplyResolution(m_dlgResolution.m_nWidth, m_dlgResolution.m_nHeight)) {
        move(0, 0);
        RecreateCanvas();
        // Asked once the resolution's own step is closed: moving them is a step of its own.
        m_bCheckOffCanvas = true;
    }
}

// Every pointer position reaches the controller and the menus in client coordinates.
void CVeradaVodirevDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // A whole drag, or what a toolbar button does, is one step.
        if (m_bDragRecorded) {
            m_history.End(QStringLiteral("끌기"));
        }
        m_history.Begin();
        m_bDragRecorded = true;
        Apply(m_controller.OnLButtonDown(ToClient(event), event->modifiers()));
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(event->position().toPoint());
    }
}

void CVeradaVodirevDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint client = ToClient(event);
    if (m_bMovePending && (event->buttons() & Qt::LeftButton) &&
        (client - m_ptMoveStart).manhattanLength() >= QApplication::startDragDistance()) {
        m_bMovePending = false;
        if (windowHandle() != nullptr) {
            windowHandle()->startSystemMove();
        }
    }
    Apply(m_controller.OnMouseMove(client, event->modifiers()));
}

void CVeradaVodirevDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_bMovePending = false;
        Apply(m_controller.OnLButtonUp(ToClient(event)));
        if (m_bDragRecorded) {
            m_bDragRecorded = false;
            m_history.End(QStringLiteral("끌기"));
        }
        if (m_bCheckOffCanvas) {
            m_bCheckOffCanvas = false;
            OfferToMoveInside();
        }
    }
}

void CVeradaVodirevDlg::wheelEvent(QWheelEvent* event) {
    // At 100 % on a screen too small for the frame the wheel scrolls; the pointer
    // then lies over another client point, as if it had moved.
    if (m_view.Wheel(event->angleDelta(), event->modifiers().testFlag(Qt::ShiftModifier))) {
        SyncScrollBars();
        Apply(m_controller.OnMouseMove(m_view.ToClient(event->position().toPoint())));
        update();
    }
    event->accept();
}

void CVeradaVodirevDlg::leaveEvent(QEvent*) {
    Apply(m_controller.OnMouseLeave());
}

void CVeradaVodirevDlg::OnRButtonDown(QPoint widget) {
    const int menuId = vodirev::OnRButtonDown(m_session, m_state, m_view.ToClient(widget));
    if (menuId == kNoMenu) {
        return;
    }
    // The item of an item's menu joins the selection's commands: alone unless selected.
    std::optional<ItemRef> item;
    if (m_state.m_nContextFolder >= 0) {
        item = ItemRef{ItemKind::Icon, m_state.m_nContextFolder};
    } else if (menuId == kMenuText) {
        item = ItemRef{ItemKind::Label, m_state.m_nActiveText};
    } else if (menuId == kMenuImage) {
        item = ItemRef{ItemKind::Picture, m_state.m_nActiveImage};
    }
    DropStale(m_session, m_state.m_selection);
    if (item && !Contains(m_state.m_selection, *item)) {
        m_state.m_selection = {*item};
        update();
    }
    ShowMenu(menuId, widget);
}

void CVeradaVodirevDlg::ShowMenu(int menuId, QPoint widget) {
    std::unique_ptr<QMenu> menu(BuildContextMenu(menuId, this, m_router));
    if (menu == nullptr) {
        return;
    }
    AppendEditingEntries(menu.get(), menuId, int(m_state.m_selection.size()), m_editRouter);
    // The menu opens at the pointer; the chosen item runs its command through the table.
    menu->exec(mapToGlobal(widget));
    update();
}

bool CVeradaVodirevDlg::event(QEvent* event) {
    // The strip's buttons are painted, not widgets: their tooltips come from here.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolbarTip(m_view.ToClient(help->pos()), m_state.m_nToolbarHeight);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QDialog::event(event);
}

void CVeradaVodirevDlg::keyPressEvent(QKeyEvent* event) {
    const QKeyCombination keys = event->keyCombination();
    if (event->matches(QKeySequence::Undo) || keys == (Qt::ControlModifier | Qt::Key_Z)) {
        Undo();
        return;
    }
    if (event->matches(QKeySequence::Redo) || keys == (Qt::ControlModifier | Qt::Key_Y) ||
        keys == (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z)) {
        Redo();
        return;
    }
    // Ctrl+0 switches a frame too large for the screen between fitted and 100 %.
    if (event->key() == Qt::Key_0 &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        if (m_view.ToggleFit(mapFromGlobal(QCursor::pos()))) {
            ApplyViewSize();
            update();
        }
        event->accept();
        return;
    }
    if (const std::optional<QPoint> step = NudgeForKey(event->key(), event->modifiers())) {
        EditSelection(QStringLiteral("이동"), [&] {
            MoveSelection(m_session, m_state.m_selection, step->x(), step->y());
            return !m_state.m_selection.empty();
        });
        event->accept();
        return;
    }
    if (const int command = EditingCommandForKey(QKeySequence(keys))) {
        m_editRouter.Dispatch(command);
        event->accept();
        return;
    }
    if (keys == QKeyCombination(Qt::Key_Menu) ||
        keys == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
        OpenMenuForKeyboard();
        event->accept();
        return;
    }
    if (keys == QKeyCombination(Qt::Key_F1)) {
        m_ui.ShowMessage(EditorAboutText(QStringLiteral(VODIREV_VERSION), QDir::currentPath(),
                                         ServerAddressFromEnvironment()));
        event->accept();
        return;
    }
    // Enter and Escape never close the editor; Escape clears the selection.
    switch (event->key()) {
        case Qt::Key_Escape:
            if (!m_state.m_selection.empty()) {
                m_state.m_selection.clear();
                update();
            }
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CVeradaVodirevDlg::reject() {
    // Escape reaches QDialog as reject(); while shown, only the window's own close
    // (or a command) ends the editor.
    if (!isVisible()) {
        QDialog::reject();
    }
}

void CVeradaVodirevDlg::closeEvent(QCloseEvent* event) {
    // Closing the window ends the editor without saving; with changes it asks first.
    if (m_history.IsModified() && !m_ui.AskYesNo(QString::fromUtf8(kLeaveUnsavedQuestion), false)) {
        event->ignore();
        return;
    }
    event->accept();
    m_recovery.Discard();
    done(QDialog::Rejected);
}

void CVeradaVodirevDlg::Undo() {
    if (!m_bDragRecorded) {
        m_history.Undo();
    }
}

void CVeradaVodirevDlg::Redo() {
    if (!m_bDragRecorded) {
        m_history.Redo();
    }
}

void CVeradaVodirevDlg::OnHistoryRestored(const DocumentState& previous) {
    const auto& before = previous.desktop.m_arrFolder;
    const int target = m_state.m_nContextFolder;
    if (target >= 0 && std::size_t(target) < before.size()) {
        m_state.m_nContextFolder =
            FollowIcon(m_session.m_desktop, target, before[std::size_t(target)],
                       before.size() != m_session.m_desktop.m_arrFolder.size());
    }
    DropStaleTargets(m_session, m_state);
    if (previous.desktop.m_arrFolder.size() != m_session.m_desktop.m_arrFolder.size() ||
        previous.desktop.m_arrUserImage.size() != m_session.m_desktop.m_arrUserImage.size()) {
        m_state.m_selection.clear();
    }
    DropStale(m_session, m_state.m_selection);
    // The editing dialogs show what the restored state may no longer hold.
    m_dlgFolderUpdate.hide();
    m_dlgDirectFolder.hide();
    m_dlgSFolder.hide();
    m_dlgSystem.hide();
    if (previous.resWidth != m_session.m_nResWidth ||
        previous.resHeight != m_session.m_nResHeight) {
        move(0, 0);
        RecreateCanvas();
    }
    update();
}

void CVeradaVodirevDlg::RouteEditingCommands() {
    const int strip = m_state.m_nToolbarHeight;
    m_editRouter.Route(ID_SAVE, [this] { OnSave(); });
    m_editRouter.Route(ID_EDIT_UNDO, [this] { Undo(); });
    m_editRouter.Route(ID_EDIT_REDO, [this] { Redo(); });
    m_editRouter.Route(ID_EDIT_SELECT_ALL, [this] {
        m_state.m_selection = SelectAll(m_session);
        update();
    });
    m_editRouter.Route(ID_EDIT_COPY, [this, strip] {
        DropStale(m_session, m_state.m_selection);
        if (!m_state.m_selection.empty()) {
            m_clipboard = CopySelection(m_session, m_state.m_selection, strip);
        }
    });
    m_editRouter.Route(ID_EDIT_PASTE, [this] {
        if (m_clipboard.empty()) {
            return;
        }
        // At the pointer on the canvas; from the strip or outside, at the last place.
        const QPoint pointer = m_state.m_ptMouse;
        const QPoint at = pointer.y() >= m_state.m_nToolbarHeight
                              ? QPoint(pointer.x(), pointer.y() - m_state.m_nToolbarHeight)
                              : m_clipboard.origin;
        EditSelection(QStringLiteral("붙여넣기"), [&] {
            m_state.m_selection = PasteItems(m_session, m_clipboard, at, m_ui);
            return !m_state.m_selection.empty();
        });
    });
    m_editRouter.Route(ID_EDIT_DUPLICATE, [this, strip] {
        EditSelection(QStringLiteral("복제"), [&] {
            Selection copies = DuplicateSelection(m_session, m_state.m_selection, strip, m_ui);
            if (copies.empty()) {
                return false;
            }
            m_state.m_selection = std::move(copies);
            return true;
        });
    });
    m_editRouter.Route(ID_EDIT_DELETE, [this] {
        EditSelection(QStringLiteral("삭제"),
                      [&] { return DeleteSelection(m_session, m_state.m_selection); });
    });
    const std::pair<int, Alignment> alignments[] = {
        {ID_ALIGN_LEFT, Alignment::Left},
        {ID_ALIGN_RIGHT, Alignment::Right},
        {ID_ALIGN_TOP, Alignment::Top},
        {ID_ALIGN_BOTTOM, Alignment::Bottom},
        {ID_ALIGN_HORIZONTAL_CENTRES, Alignment::HorizontalCentre},
        {ID_ALIGN_VERTICAL_CENTRES, Alignment::VerticalCentre},
    };
    for (const auto& [id, alignment] : alignments) {
        m_editRouter.Route(id, [this, strip, alignment] {
            EditSelection(QStringLiteral("맞춤"), [&] {
                return AlignSelection(m_session, m_state.m_selection, alignment, strip);
            });
        });
    }
    for (const bool across : {true, false}) {
        m_editRouter.Route(
            across ? ID_DISTRIBUTE_ACROSS : ID_DISTRIBUTE_DOWN, [this, strip, across] {
                EditSelection(QStringLiteral("간격 같게"), [&] {
                    return DistributeSelection(m_session, m_state.m_selection, across, strip);
                });
            });
    }
}

// One step of history for an edit of the selection; repaints when it changed anything.
bool CVeradaVodirevDlg::EditSelection(const QString& text, const std::function<bool()>& edit) {
    DropStale(m_session, m_state.m_selection);
    bool changed = false;
    m_history.Record(text, [&] { changed = edit(); });
    update();
    return changed;
}

// Shift+F10 and the Menu key: the menu of the selection's first item over its
// middle, with that item as the target a right click there would make it, or the
// canvas menu at the pointer (or the canvas's middle).
void CVeradaVodirevDlg::OpenMenuForKeyboard() {
    const int strip = m_state.m_nToolbarHeight;
    DropStale(m_session, m_state.m_selection);
    QPoint client(m_session.m_nResWidth / 2, m_session.m_nResHeight / 2 + strip);
    if (m_state.m_bPointerInside && m_state.m_ptMouse.y() >= strip) {
        client = m_state.m_ptMouse;
    }
    int menuId = kMenuTop;
    for (const ItemRef item : m_state.m_selection) {
        if (item.kind == ItemKind::Launcher) {
            continue;
        }
        const ItemRect rect = ItemBounds(m_session, item, strip);
        client = QPoint(int((qint64(rect.left) + rect.right) / 2),
                        int((qint64(rect.top) + rect.bottom) / 2) + strip);
        m_state.m_nContextFolder = -1;
        m_state.m_nActiveText = -1;
        if (item.kind == ItemKind::Icon) {
            m_state.m_nContextFolder = item.index;
            menuId = ContextMenuForIconType(
                m_session.m_desktop.m_arrFolder[std::size_t(item.index)].m_nType);
        } else if (item.kind == ItemKind::Label) {
            m_state.m_nActiveText = item.index;
            menuId = kMenuText;
        } else {
            m_state.m_nActiveImage = item.index;
            menuId = kMenuImage;
        }
        break;
    }
    if (menuId == kNoMenu) {
        return;
    }
    if (menuId == kMenuTop) {
        // As a right click there: new icons go to that point.
        m_state.m_nContextFolder = -1;
        m_state.m_nActiveText = -1;
        m_state.m_nActiveImage = -1;
        m_session.m_desktop.m_nNewX = client.x();
        m_session.m_desktop.m_nNewY = client.y();
    }
    ShowMenu(menuId, m_view.ClientToWidget().map(client));
}

// Items wholly outside the canvas after a load or a resolution change: the operator
// hears how many and may have them moved inside, as one step.
void CVeradaVodirevDlg::OfferToMoveInside() {
    const int width = m_session.m_nResWidth;
    const int height = m_session.m_nResHeight;
    const Selection outside = ItemsOffCanvas(m_session, width, height);
    if (outside.empty()) {
        return;
    }
    const QString question =
        QStringLiteral(
            "캔버스 밖에 있어 보이지 않는 항목이 %1개 있습니다.\n캔버스 안으로 옮길까요?")
            .arg(outside.size());
    if (!m_ui.AskYesNo(question, true)) {
        return;
    }
    m_history.Record(QStringLiteral("캔버스 안으로 옮기기"),
                     [&] { MoveInsideCanvas(m_session, outside, width, height); });
    m_state.m_selection = outside;
    update();
}

QStringList CVeradaVodirevDlg::StatusText() const {
    StatusFacts facts;
    facts.serverAsked = m_session.m_nDesktop > 0;
    facts.serverReached = !m_session.m_bServerFilesMissing;
    facts.unpublishedFiles = m_nUnpublishedFiles;
    facts.modified = m_history.IsModified();
    return StatusLines(m_session, m_state, facts);
}

}  // namespace vodirev
