#include "editor/canvas_view.h"

#include <algorithm>
#include <climits>

namespace vodirev {

namespace {

using Wide = long long;

bool IsEmpty(QSize size) {
    return size.width() <= 0 || size.height() <= 0;
}

// Rounds towards minus infinity (the divisor is positive).
Wide FloorDiv(Wide value, Wide divisor) {
    const Wide quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int ToInt(Wide value) {
    return static_cast<int>(std::clamp<Wide>(value, INT_MIN, INT_MAX));
}

// Client pixel under the centre of widget pixel p at scale num / den. A pixel of
// the widget stays inside the frame even where the widget was rounded up to one
// pixel.
int Unscale(int p, Wide num, Wide den, int widget, int frame) {
    const Wide client = FloorDiv((2 * Wide{p} + 1) * den, 2 * num);
    return ToInt(p >= 0 && p < widget ? std::min<Wide>(client, frame - 1) : client);
}

}  // namespace

void CanvasView::SetFrameSize(QSize frame) {
    m_frame = frame;
    ClampOffset();
}

void CanvasView::SetAvailableSize(QSize available) {
    m_available = available;
    ClampOffset();
}

bool CanvasView::Fits() const {
    return IsEmpty(m_frame) || IsEmpty(m_available) ||
           (m_frame.width() <= m_available.width() && m_frame.height() <= m_available.height());
}

// The axis that is short of room the most sets the factor: it fills the screen.
bool CanvasView::ScalesByWidth() const {
    return Wide{m_available.width()} * m_frame.height() <=
           Wide{m_available.height()} * m_frame.width();
}

long long CanvasView::scaleNumerator() const {
    if (!IsScaled()) {
        return 1;
    }
    return ScalesByWidth() ? m_available.width() : m_available.height();
}

long long CanvasView::scaleDenominator() const {
    if (!IsScaled()) {
        return 1;
    }
    return ScalesByWidth() ? m_frame.width() : m_frame.height();
}

bool CanvasView::ToggleFit(QPoint widgetPointer) {
    if (Fits()) {
        return false;
    }
    const QPoint client = ToClient(widgetPointer);
    m_bFitChosen = !m_bFitChosen;
    if (IsScrolling()) {
        m_offset = client - widgetPointer;
        ClampOffset();
    }
    return true;
}

QSize CanvasView::WidgetSize() const {
    if (Fits()) {
        return m_frame;
    }
    if (IsScrolling()) {
        const int bar = m_scrollBar;
        return QSize(
            std::min(m_available.width(), m_frame.width() + (NeedsVerticalBar() ? bar : 0)),
            std::min(m_available.height(), m_frame.height() + (NeedsHorizontalBar() ? bar : 0)));
    }
    const Wide num = scaleNumerator();
    const Wide den = scaleDenominator();
    return QSize(ToInt(std::max<Wide>(1, m_frame.width() * num / den)),
                 ToInt(std::max<Wide>(1, m_frame.height() * num / den)));
}

// Against the screen's room: a bar along one edge takes room from the other side.
bool CanvasView::NeedsVerticalBar() const {
    if (!IsScrolling()) {
        return false;
    }
    const bool wide = m_frame.width() > m_available.width();
    const bool tall = m_frame.height() > m_available.height() - (wide ? m_scrollBar : 0);
    return tall;
}

bool CanvasView::NeedsHorizontalBar() const {
    if (!IsScrolling()) {
        return false;
    }
    return m_frame.width() > m_available.width() - (NeedsVerticalBar() ? m_scrollBar : 0);
}

QSize CanvasView::ViewportSize() const {
    const QSize widget = WidgetSize();
    return QSize(std::max(1, widget.width() - (NeedsVerticalBar() ? m_scrollBar : 0)),
                 std::max(1, widget.height() - (NeedsHorizontalBar() ? m_scrollBar : 0)));
}

QPoint CanvasView::MaxScrollOffset() const {
    if (!IsScrolling()) {
        return QPoint(0, 0);
    }
    const QSize shown = ViewportSize();
    return QPoint(std::max(0, m_frame.width() - shown.width()),
                  std::max(0, m_frame.height() - shown.height()));
}

bool CanvasView::ScrollBy(QPoint delta) {
    if (!IsScrolling()) {
        return false;
    }
    const QPoint before = m_offset;
    m_offset = QPoint(ToInt(Wide{m_offset.x()} + delta.x()), ToInt(Wide{m_offset.y()} + delta.y()));
    ClampOffset();
    return m_offset != before;
}

bool CanvasView::Wheel(QPoint angleDelta, bool sideways) {
    QPoint turn = angleDelta;
    if (sideways && turn.x() == 0) {
        turn = QPoint(turn.y(), 0);
    }
    return ScrollBy(-turn * kWheelStep / 120);
}

QPoint CanvasView::ToClient(QPoint widget) const {
    if (IsScrolling() && widget.y() < m_strip && widget.y() >= 0) {
        return widget;
    }
    if (!IsScaled()) {
        const QPoint offset = ScrollOffset();
        return QPoint(ToInt(Wide{widget.x()} + offset.x()), ToInt(Wide{widget.y()} + offset.y()));
    }
    const Wide num = scaleNumerator();
    const Wide den = scaleDenominator();
    const QSize size = WidgetSize();
    return QPoint(Unscale(widget.x(), num, den, size.width(), m_frame.width()),
                  Unscale(widget.y(), num, den, size.height(), m_frame.height()));
}

QTransform CanvasView::ClientToWidget() const {
    QTransform transform;
    if (IsScaled()) {
        const QSize size = WidgetSize();
        transform.scale(double(size.width()) / m_frame.width(),
                        double(size.height()) / m_frame.height());
    } else {
        const QPoint offset = ScrollOffset();
        transform.translate(-offset.x(), -offset.y());
    }
    return transform;
}

QTransform CanvasView::StripToWidget() const {
    return IsScrolling() ? QTransform() : ClientToWidget();
}

QImage CanvasView::ScaledFrame(const QImage& frame) const {
    if (frame.isNull()) {
        return frame;
    }
    return frame.scaled(WidgetSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void CanvasView::ClampOffset() {
    const bool scrolling = !Fits() && !m_bFitChosen;
    const QSize shown = scrolling ? ViewportSize() : m_frame.boundedTo(m_available);
    const int maxX = std::max(0, m_frame.width() - shown.width());
    const int maxY = std::max(0, m_frame.height() - shown.height());
    m_offset = QPoint(std::clamp(m_offset.x(), 0, maxX), std::clamp(m_offset.y(), 0, maxY));
}

}  // namespace vodirev
