#pragma once
// How the editor window shows its frame (the desktop under the strip) on a screen.
// When the frame fits the screen's available area the window is the frame, at
// 100 %. When it does not, the window shows the frame scaled down to fit, one
// factor for both axes; the operator may switch to 100 % with scrolling instead.
// Every pointer position of the window goes through ToClient: client coordinates
// are frame coordinates (strip included), the ones the controller and the context
// menus work in.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QTransform>
#include <algorithm>

namespace vodirev {

class CanvasView {
public:
    // The frame's size: resolution plus the strip.
    void SetFrameSize(QSize frame);
    // The largest client area the screen holds for the window. An empty size (no
    // screen known) counts as room for any frame.
    void SetAvailableSize(QSize available);
    // At 100 % with scrolling: the top rows of the frame that stay in view (the
    // toolbar strip), and the thickness of the scroll bars the window shows along
    // the edges that need one.
    void SetFixedStrip(int height) {
        m_strip = std::max(0, height);
        ClampOffset();
    }
    void SetScrollBarExtent(int extent) {
        m_scrollBar = std::max(0, extent);
        ClampOffset();
    }

    QSize frameSize() const { return m_frame; }
    // The frame fits at 100 %: nothing is scaled or scrolled.
    bool Fits() const;
    // The frame is shown scaled down (it does not fit and fitting is chosen).
    bool IsScaled() const { return !Fits() && m_bFitChosen; }
    // The scale factor as numerator / denominator (1 / 1 unless scaled).
    long long scaleNumerator() const;
    long long scaleDenominator() const;

    // Switches between fitted and 100 % with scrolling; nothing happens while the
    // frame fits (returns false). Going to 100 %, the client point under the
    // pointer stays under it as far as the scroll range allows.
    bool ToggleFit(QPoint widgetPointer);

    // The window's client size: the frame, the scaled frame, or as much of the
    // frame at 100 % as the screen holds.
    QSize WidgetSize() const;

    // The top-left client point shown at 100 % with scrolling, (0, 0) otherwise.
    QPoint ScrollOffset() const { return IsScrolling() ? m_offset : QPoint(0, 0); }
    // At 100 % with scrolling: the part of the widget that shows the frame (the
    // scroll bars take the rest), and the largest offsets. Otherwise the whole
    // widget and no range.
    QSize ViewportSize() const;
    QPoint MaxScrollOffset() const;
    // Whether a scroll bar is shown along the bottom / the right edge.
    bool NeedsHorizontalBar() const;
    bool NeedsVerticalBar() const;
    // Scrolls to an offset (clamped); false when nothing moved.
    bool ScrollTo(QPoint offset) { return ScrollBy(offset - ScrollOffset()); }
    // Scrolls by a client distance, clamped to the frame; false when nothing moved.
    bool ScrollBy(QPoint delta);
    // A wheel turn (Qt's angle delta, 120 a notch): down and right show more of the
    // bottom and right; with sideways set a vertical turn scrolls sideways.
    bool Wheel(QPoint angleDelta, bool sideways);

    // The client point of a widget point: at 100 % the point plus the scroll
    // offset (a point of the fixed strip is its own client point); scaled, the frame pixel under
    // the centre of the widget pixel. Points inside the widget map inside the frame; points outside
    // (a drag past the edge) map on along the same line.
    QPoint ToClient(QPoint widget) const;

    // From client coordinates to the widget's: for marks painted over the shown frame.
    QTransform ClientToWidget() const;
    // The same for what lies in the fixed strip (the status line): it does not scroll.
    QTransform StripToWidget() const;
    int fixedStrip() const { return IsScrolling() ? m_strip : 0; }

    // The frame as the scaled view shows it (smooth scaling to WidgetSize()).
    QImage ScaledFrame(const QImage& frame) const;

    // Pixels a wheel notch scrolls.
    static constexpr int kWheelStep = 80;

private:
    bool IsScrolling() const { return !Fits() && !m_bFitChosen; }
    bool ScalesByWidth() const;
    void ClampOffset();

    QSize m_frame;
    QSize m_available;
    bool m_bFitChosen = true;  // fitted unless the operator chose 100 %
    QPoint m_offset{0, 0};
    int m_strip = 0;
    int m_scrollBar = 0;
};

}  // namespace vodirev
