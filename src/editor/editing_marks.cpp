#include "editor/editing_marks.h"

#include "editor/status_line.h"

#include <QPainter>

namespace vodirev {

namespace {

QRectF ClientRect(const ItemRect& rect, int toolbarHeight) {
    return QRectF(rect.left, double(rect.top) + toolbarHeight, double(rect.right) - rect.left,
                  double(rect.bottom) - rect.top);
}

}  // namespace

void PaintEditingMarks(QPainter& painter, const QTransform& clientToWidget,
                       const DesktopSession& session, const CanvasState& state) {
    const int strip = state.m_nToolbarHeight;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor selection = QColor::fromRgb(kSelectionColour);

    // Outline and corner handles in whole widget pixels, so they stay crisp when
    // scaled and take the raster engine's fast paths: a large selection costs little
    // per repaint. A white rim each side of the blue line shows it on any background.
    QList<QRect> rims;
    QList<QRect> boxes;
    for (const ItemRef item : state.m_selection) {
        if (!IsLive(session, item)) {
            continue;
        }
        const QRect box =
            clientToWidget.mapRect(ClientRect(ItemBounds(session, item, strip), strip))
                .toAlignedRect()
                .adjusted(-3, -3, 3, 3);
        boxes.append(box);
        rims.append(box.adjusted(-1, -1, 1, 1));
        rims.append(box.adjusted(1, 1, -1, -1));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRects(rims);
    painter.setPen(QPen(selection, 0));
    painter.drawRects(boxes);
    for (const QRect& box : boxes) {
        for (const QPoint corner :
             {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
            painter.fillRect(QRect(corner - QPoint(4, 4), QSize(9, 9)), Qt::white);
            painter.fillRect(QRect(corner - QPoint(3, 3), QSize(7, 7)), selection);
        }
    }

    if (state.m_bRubberBand) {
        const QRectF band =
            clientToWidget.mapRect(QRectF(QPointF(state.m_ptBandStart) + QPointF(0, strip),
                                          QPointF(state.m_ptBandEnd) + QPointF(0, strip))
                                       .normalized());
        QColor fill = selection;
        fill.setAlpha(48);
        painter.setBrush(fill);
        painter.setPen(QPen(selection, 1, Qt::DashLine));
        painter.drawRect(band);
    }

    const QPen guide(QColor::fromRgb(kGuideColour), 1, Qt::DashLine);
    painter.setPen(guide);
    painter.setBrush(Qt::NoBrush);
    const double bottom = double(session.m_nResHeight) + strip;
    if (state.m_nGuideX) {
        painter.drawLine(
            clientToWidget.map(QLineF(*state.m_nGuideX, strip, *state.m_nGuideX, bottom)));
    }
    if (state.m_nGuideY) {
        const double y = double(*state.m_nGuideY) + strip;
        painter.drawLine(clientToWidget.map(QLineF(0, y, session.m_nResWidth, y)));
    }
    painter.restore();
}

void PaintStatusLine(QPainter& painter, const QTransform& clientToWidget, int frameWidth,
                     int toolbarHeight, const QStringList& lines) {
    const QRectF area =
        clientToWidget.mapRect(QRectF(kStatusLeft, 0, frameWidth - kStatusLeft, toolbarHeight));
    if (area.width() < 20 || lines.isEmpty()) {
        return;
    }
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(std::max(9, std::min(13, int(area.height() / (lines.size() + 0.6)))));
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    painter.setClipRect(area);
    const double lineHeight = area.height() / lines.size();
    for (int i = 0; i < lines.size(); ++i) {
        painter.drawText(
            QRectF(area.left() + 4, area.top() + i * lineHeight, area.width() - 8, lineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    painter.restore();
}

}  // namespace vodirev
