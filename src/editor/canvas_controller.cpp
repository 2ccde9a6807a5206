#include "editor/canvas_controller.h"

#include "editor/hit_test.h"

#include <algorithm>
#include <climits>

namespace vodirev {

namespace {

using Wide = long long;

// Positions are never clamped to the canvas; this only keeps extreme values from
// files inside int.
int ToInt(Wide value) {
    return static_cast<int>(std::clamp<Wide>(value, INT_MIN, INT_MAX));
}

void MoveRect(ItemRect& rc, Wide left, Wide top) {
    const Wide width = Wide{rc.right} - rc.left;
    const Wide height = Wide{rc.bottom} - rc.top;
    rc.left = ToInt(left);
    rc.top = ToInt(top);
    rc.right = ToInt(left + width);
    rc.bottom = ToInt(top + height);
}

}  // namespace

MouseOutcome CanvasController::Repaint() {
    m_state.m_bRedrawPending = true;
    MouseOutcome outcome;
    outcome.repaint = true;
    return outcome;
}

MouseOutcome CanvasController::RepaintOnce() {
    m_state.m_bRedrawPending = false;
    MouseOutcome outcome;
    outcome.repaint = true;
    return outcome;
}

void CanvasController::StartDrag(const Selection& moving) {
    if (m_bSnapping) {
        m_snap.SetTargets(m_session, moving, m_state.m_nToolbarHeight);
    }
}

void CanvasController::SnapMoved(const Selection& moved, Qt::KeyboardModifiers modifiers) {
    m_state.m_nGuideX.reset();
    m_state.m_nGuideY.reset();
    if (!m_bSnapping) {
        return;
    }
    const SnapResult snap = m_snap.Snap(SelectionBounds(m_session, moved, m_state.m_nToolbarHeight),
                                        modifiers.testFlag(Qt::AltModifier));
    MoveSelection(m_session, moved, snap.dx, snap.dy);
    m_state.m_nGuideX = snap.guideX;
    m_state.m_nGuideY = snap.guideY;
    if (m_state.m_bGroupDrag) {
        m_state.m_ptGroupMoved += QPoint(snap.dx, snap.dy);
    }
}

// The whole selection follows the pointer by the distance from the press.
MouseOutcome CanvasController::MoveGroup(QPoint client, Qt::KeyboardModifiers modifiers) {
    const QPoint wanted = client - m_state.m_ptPress;
    const QPoint step = wanted - m_state.m_ptGroupMoved;
    MoveSelection(m_session, m_state.m_selection, step.x(), step.y());
    m_state.m_ptGroupMoved = wanted;
    SnapMoved(m_state.m_selection, modifiers);
    return Repaint();
}

MouseOutcome CanvasController::OnLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers) {
    const Wide x = client.x();
    const Wide y = client.y();
    const QPoint canvas(client.x(), ToInt(y - m_state.m_nToolbarHeight));
    CDesktopInfo& desktop = m_session.m_desktop;

    m_state.m_ptPress = client;
    m_state.m_bLeftDown = true;
    m_state.m_bWindowDrag = false;
    // All three are recorded even when several match; the move decides which one moves.
    m_state.m_nPressedFolder = HitTestFolder(desktop, canvas);
    m_state.m_nActiveText = HitTestText(desktop, canvas);
    m_state.m_nActiveImage = HitTestImage(desktop, canvas);

    bool hit = false;
    if (HitTestLauncher(m_session, client)) {
        m_state.m_bLauncherDrag = true;
        m_state.m_ptLauncherGrab =
            QPoint(ToInt(x - m_session.m_nLauncherX), ToInt(y - m_session.m_nLauncherY));
        hit = true;
    }
    if (m_state.m_nPressedFolder >= 0) {
        const ItemRect& rc = desktop.m_arrFolder[m_state.m_nPressedFolder].m_rcItem;
        m_state.m_ptGrab = QPoint(ToInt(x - rc.left), ToInt(y - rc.top));
        hit = true;
    } else if (m_state.m_nActiveText >= 0) {
        const CInfoLabel& label = desktop.m_label[m_state.m_nActiveText];
        m_state.m_ptGrab = QPoint(ToInt(x - label.m_nX), ToInt(y - label.m_nY));
        hit = true;
    }

    // The item a click selects is the one a drag moves.
    m_state.m_pressedItem.reset();
    if (m_state.m_bLauncherDrag) {
        m_state.m_pressedItem = ItemRef{ItemKind::Launcher, 0};
    } else if (m_state.m_nPressedFolder >= 0) {
        m_state.m_pressedItem = ItemRef{ItemKind::Icon, m_state.m_nPressedFolder};
    } else if (m_state.m_nActiveText >= 0) {
        m_state.m_pressedItem = ItemRef{ItemKind::Label, m_state.m_nActiveText};
    } else if (m_state.m_nActiveImage >= 0) {
        m_state.m_pressedItem = ItemRef{ItemKind::Picture, m_state.m_nActiveImage};
    }
    m_state.m_bSelectToggle = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    m_state.m_bPressMoved = false;
    m_state.m_bRubberBand = false;
    m_state.m_ptGroupMoved = QPoint(0, 0);
    DropStale(m_session, m_state.m_selection);
    m_state.m_bGroupDrag = m_state.m_pressedItem && m_state.m_selection.size() > 1 &&
                           Contains(m_state.m_selection, *m_state.m_pressedItem);
    if (m_state.m_bGroupDrag) {
        // The selection moves as one; no single grab moves on its own.
        m_state.m_nPressedFolder = -1;
        m_state.m_nActiveImage = -1;
        m_state.m_bLauncherDrag = false;
        StartDrag(m_state.m_selection);
    } else if (m_state.m_pressedItem) {
        StartDrag({*m_state.m_pressedItem});
    }

    MouseOutcome outcome;
    if (m_state.m_nActiveImage >= 0) {
        const CInfoUserImage& picture = desktop.m_arrUserImage[m_state.m_nActiveImage];
        m_state.m_ptImageGrab = QPoint(ToInt(x - picture.m_nX), ToInt(y - picture.m_nY));
    } else if (!hit && !m_state.m_bGroupDrag) {
        if (modifiers.testFlag(Qt::ShiftModifier) && y >= m_state.m_nToolbarHeight) {
            // Shift on empty canvas: a rubber band instead of a window move.
            m_state.m_bRubberBand = true;
            m_state.m_ptBandStart = canvas;
            m_state.m_ptBandEnd = canvas;
            return outcome;
        }
        m_state.m_bWindowDrag = true;
        outcome.startWindowMove = true;
    }
    return outcome;
}

MouseOutcome CanvasController::OnMouseMove(QPoint client, Qt::KeyboardModifiers modifiers) {
    const Wide x = client.x();
    const Wide y = client.y();
    const int strip = m_state.m_nToolbarHeight;
    const QPoint canvas(client.x(), ToInt(y - strip));
    CDesktopInfo& desktop = m_session.m_desktop;

    m_state.m_ptMouse = client;
    m_state.m_bPointerInside = true;
    m_state.m_nHoverFolder = HitTestFolder(desktop, canvas);
    m_state.m_nHoverText = HitTestText(desktop, canvas);
    m_state.m_nHoverImage = HitTestImage(desktop, canvas);
    m_state.m_bHoverLauncher = HitTestLauncher(m_session, client);

    Qt::CursorShape cursor = Qt::CrossCursor;
    if (m_state.m_nHoverFolder >= 0) {
        cursor = Qt::PointingHandCursor;
    } else if (y > 0 && y < strip) {
        cursor = (x > 250 || x < 0) ? Qt::ArrowCursor : Qt::PointingHandCursor;
    } else if (m_state.m_nHoverText >= 0 || m_state.m_nHoverImage >= 0 ||
               m_state.m_bHoverLauncher) {
        cursor = Qt::PointingHandCursor;
    }

    // The right button also names a label or picture as a command target; only a
    // held left button drags.
    const bool held = m_state.m_bLeftDown;
    if (held && client != m_state.m_ptPress) {
        m_state.m_bPressMoved = true;
    }
    // A drag makes the dragged item the selection.
    const auto dragged = [&](ItemRef item) {
        if (!m_state.m_bGroupDrag) {
            m_state.m_selection = {item};
        }
        SnapMoved({item}, modifiers);
    };
    MouseOutcome outcome = [&]() -> MouseOutcome {
        if (held && m_state.m_bRubberBand) {
            m_state.m_ptBandEnd = canvas;
            return Repaint();
        }
        // First matching case only: several grabs never move together.
        if (m_state.m_bLauncherDrag) {
            m_session.m_nLauncherX = ToInt(x - m_state.m_ptLauncherGrab.x());
            m_session.m_nLauncherY = ToInt(y - m_state.m_ptLauncherGrab.y());
            if (m_state.m_bPressMoved && !m_state.m_bGroupDrag) {
                m_state.m_selection = {ItemRef{ItemKind::Launcher, 0}};
            }
            return Repaint();
        }
        if (y < strip) {
            // Grabbed items wait while the pointer is over the toolbar.
            if (x >= 0 && x <= 250) {
                return Repaint();
            }
            // Leaving the buttons sideways takes their highlight (or a hover frame
            // left from below) away once.
            if (m_state.m_bRedrawPending) {
                return RepaintOnce();
            }
            return {};
        }
        if (held && m_state.m_bGroupDrag) {
            return MoveGroup(client, modifiers);
        }
        if (held && m_state.m_nPressedFolder >= 0) {
            if (y == strip) {
                return {};
            }
            if (static_cast<std::size_t>(m_state.m_nPressedFolder) < desktop.m_arrFolder.size()) {
                MoveRect(desktop.m_arrFolder[m_state.m_nPressedFolder].m_rcItem,
                         x - m_state.m_ptGrab.x(), y - m_state.m_ptGrab.y());
                dragged({ItemKind::Icon, m_state.m_nPressedFolder});
            }
            return Repaint();
        }
        if (held && m_state.m_nActiveText >= 0) {
            // A press in the margin left of the text gives a negative offset: the
            // text is selected but stays put.
            if (m_state.m_ptGrab.x() >= 0 && m_state.m_ptGrab.y() >= 0 &&
                m_state.m_nActiveText < kLabelSlots) {
                CInfoLabel& label = desktop.m_label[m_state.m_nActiveText];
                label.m_nX = ToInt(x - m_state.m_ptGrab.x());
                label.m_nY = ToInt(y - m_state.m_ptGrab.y());
                dragged({ItemKind::Label, m_state.m_nActiveText});
                return Repaint();
            }
            return {};
        }
        if (held && m_state.m_nActiveImage >= 0) {
            if (m_state.m_ptImageGrab.x() >= 0 && m_state.m_ptImageGrab.y() >= 0 &&
                static_cast<std::size_t>(m_state.m_nActiveImage) < desktop.m_arrUserImage.size()) {
                CInfoUserImage& picture = desktop.m_arrUserImage[m_state.m_nActiveImage];
                picture.m_nX = ToInt(x - m_state.m_ptImageGrab.x());
                picture.m_nY = ToInt(y - m_state.m_ptImageGrab.y());
                dragged({ItemKind::Picture, m_state.m_nActiveImage});
                return Repaint();
            }
            return {};
        }
        if (m_state.m_nHoverText >= 0 || m_state.m_nHoverFolder >= 0 ||
            m_state.m_nHoverImage >= 0) {
            return Repaint();
        }
        if (m_state.m_bRedrawPending) {
            // One more repaint takes the last hover frame away.
            return RepaintOnce();
        }
        return {};
    }();
    outcome.cursor = cursor;
    return outcome;
}

MouseOutcome CanvasController::OnLButtonUp(QPoint client) {
    const bool wasHeld = m_state.m_bLeftDown;
    bool marksChanged = m_state.m_nGuideX || m_state.m_nGuideY;
    if (wasHeld && m_state.m_bRubberBand) {
        m_state.m_selection = ItemsTouching(m_session, m_state.m_ptBandStart, m_state.m_ptBandEnd,
                                            m_state.m_nToolbarHeight);
        marksChanged = true;
    } else if (wasHeld && !m_state.m_bPressMoved && m_state.m_pressedItem) {
        // A click: Ctrl or Shift adds or removes the item, a plain click selects it.
        if (m_state.m_bSelectToggle) {
            Toggle(m_state.m_selection, *m_state.m_pressedItem);
        } else {
            m_state.m_selection = {*m_state.m_pressedItem};
        }
        marksChanged = true;
    } else if (wasHeld && !m_state.m_bPressMoved && m_state.m_bWindowDrag &&
               !m_state.m_bSelectToggle && m_state.m_ptPress.y() >= m_state.m_nToolbarHeight &&
               !m_state.m_selection.empty()) {
        // A plain click on empty canvas clears the selection.
        m_state.m_selection.clear();
        marksChanged = true;
    }
    m_state.m_bRubberBand = false;
    m_state.m_bGroupDrag = false;
    m_state.m_pressedItem.reset();
    m_state.m_nGuideX.reset();
    m_state.m_nGuideY.reset();
    m_state.m_bLeftDown = false;
    m_state.m_nPressedFolder = -1;
    m_state.m_nActiveText = -1;
    m_state.m_nActiveImage = -1;
    m_state.m_bLauncherDrag = false;

    MouseOutcome outcome;
    if (client.y() < m_state.m_nToolbarHeight) {
        // The buttons act on the x of the last movement, not of the release.
        const int x = m_state.m_ptMouse.x();
        if (x >= 1 && x <= 140) {
            ArrangeIcons(m_session);
            outcome.arranged = true;
        } else if (x >= 141 && x <= 250) {
            outcome.openResolutionDialog = true;
        }
    }
    outcome.repaint = outcome.repaint || marksChanged;
    return outcome;
}

MouseOutcome CanvasController::OnMouseLeave() {
    // The last position stays: a modal dialog's leave must not cost the next
    // toolbar click its x. Only the highlights go.
    m_state.m_bPointerInside = false;
    m_state.m_nHoverFolder = -1;
    m_state.m_nHoverText = -1;
    m_state.m_nHoverImage = -1;
    m_state.m_bHoverLauncher = false;
    MouseOutcome outcome;
    if (m_state.m_bRedrawPending) {
        m_state.m_bRedrawPending = false;
        outcome.repaint = true;
    }
    return outcome;
}

bool CanvasController::ApplyResolution(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    m_session.m_nResWidth = width;
    m_session.m_nResHeight = height;
    m_state.m_ptMouse = QPoint(0, 0);
    return true;
}

void ArrangeIcons(DesktopSession& session) {
    const Wide width = session.m_nResWidth;
    const Wide height = session.m_nResHeight;
    Wide x = width / 2 - 360;
    Wide y = height / 2 - 30;
    int taken = 0;
    for (CInfoFolder& folder : session.m_desktop.m_arrFolder) {
        if (taken >= 14) {
            break;
        }
        const bool arrangeable = folder.m_nType == 1 || folder.m_nType == 2 || folder.m_nType == 3;
        if (!arrangeable || folder.m_bShow == 0) {
            continue;
        }
        if (taken == 7) {
            // The second row starts 60 pixels further right than the first.
            x = width / 2 - 300;
            y = height / 2 + 100;
        }
        MoveRect(folder.m_rcItem, x, y);
        x += 120;
        ++taken;
    }
}

}  // namespace vodirev
