#include "editor/frame_renderer.h"

#include "base/text.h"
#include "editor/korean_fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace vodirev {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kMagenta = 0x00FF00FF;  // the transparent key, compared without alpha

// Coordinates beyond this cannot show anything on any canvas; such items are
// skipped instead of risking overflow in the arithmetic below.
constexpr long long kCoordLimit = 1 << 24;

bool Sane(long long value) {
    return value > -kCoordLimit && value < kCoordLimit;
}

// A line of text up to this many bytes is laid out whole, far beyond any title or
// label the editor makes; a longer one only where it can reach the canvas, placed
// by the width per byte that the editor's hit tests assume.
constexpr std::size_t kWholeLineBytes = 4096;
// Such a line is laid out from the last multiple of this before its first byte that
// can show: a title moved by a pixel then moves its glyphs by a pixel, and they stay
// within about a pixel of where the model places them.
constexpr std::size_t kLongLineGridBytes = 96;
// At most this much of one label is laid out per frame, in at most this many lines:
// what a canvas can show, whatever the file holds.
constexpr std::size_t kLabelLaidOutBytes = 64 * 1024;
constexpr int kLabelLines = 512;

// How far ink may reach beyond a text cell: nothing of the font reaches this far.
long long InkMargin(const QFontMetrics& metrics) {
    return 2LL * metrics.height() + metrics.maxWidth();
}

// The start of the CP949 character that holds text[at] (or of the text's end).
std::size_t CharStartAtOrBefore(std::string_view text, std::size_t at) {
    // A byte that cannot lead a pair ends a character; walk on from the last one.
    std::size_t pos = at;
    while (pos > 0 && static_cast<unsigned char>(text[pos - 1]) >= 0x81 &&
           static_cast<unsigned char>(text[pos - 1]) <= 0xFE) {
        --pos;
    }
    while (pos < at) {
        const std::size_t next = pos + cp949CharLength(text, pos);
        if (next > at) {
            break;
        }
        pos = next;
    }
    return pos;
}

// The whole characters of text from start (a character start) within maxBytes.
std::string_view WholeCharsFrom(std::string_view text, std::size_t start, std::size_t maxBytes) {
    std::size_t end = start;
    while (end < text.size()) {
        const std::size_t next = end + cp949CharLength(text, end);
        if (next - start > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(start, end - start);
}

// One FillSolidRect: the rectangle (x, y) .. (x + cx, y + cy), normalised.
void FillSolid(QPainter& painter, int x, int y, int cx, int cy, QRgb color) {
    const int left = std::min(x, x + cx);
    const int right = std::max(x, x + cx);
    const int top = std::min(y, y + cy);
    const int bottom = std::max(y, y + cy);
    if (right > left && bottom > top) {
        painter.fillRect(QRect(left, top, right - left, bottom - top), QColor::fromRgb(color));
    }
}

QColor FromColorRef(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find('\n'));
}

}  // namespace

void Draw3dRect(QPainter& painter, int x, int y, int cx, int cy, QRgb topLeft, QRgb bottomRight) {
    FillSolid(painter, x, y, cx - 1, 1, topLeft);
    FillSolid(painter, x, y, 1, cy - 1, topLeft);
    FillSolid(painter, x + cx, y, -1, cy, bottomRight);
    FillSolid(painter, x, y + cy, cx, -1, bottomRight);
}

QPoint TitleOrigin(int left, int top, int bitmapWidth, int bitmapHeight, std::size_t titleBytes) {
    // C division truncates toward zero, so a title wider than the bitmap starts left
    // of the icon by half the excess, rounded toward the icon.
    const long long offset = (static_cast<long long>(bitmapWidth) -
                              1LL * kTitlePixelsPerByte * static_cast<long long>(titleBytes)) /
                             2;
    return QPoint(static_cast<int>(left + offset), top + bitmapHeight + 7);
}

FrameRenderer::FrameRenderer() {
    InstallKoreanFontSubstitutions();
    const std::string face = toCp949(QStringLiteral("굴림체"));
    m_fontBold14 = MakeGdiFont(-14, 700, face);
    m_fontBold16 = MakeGdiFont(-16, 700, face);
}

void FrameRenderer::BeginFrame() {
    ++m_frame;
}

void FrameRenderer::EndFrame() {
    // Bitmaps no longer drawn (deleted or replaced items) leave the cache.
    std::erase_if(m_keyed, [this](const auto& entry) { return entry.second.lastUsed != m_frame; });
}

void FrameRenderer::DropBackgroundCache() {
    for (ScaledBackground& slot : m_backgrounds) {
        slot = ScaledBackground{};
    }
}

void FrameRenderer::ClearCaches() {
    DropBackgroundCache();
    m_keyed.clear();
}

const QImage& FrameRenderer::Keyed(const QImage& bitmap) {
    static const QImage none;
    if (bitmap.isNull()) {
        return none;
    }
    KeyedEntry& entry = m_keyed[bitmap.cacheKey()];
    if (entry.image.isNull()) {
        // Magenta pixels become transparent; pixels the picture itself marks
        // transparent (GIF, PNG) stay so.
        QImage argb = bitmap.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                if ((row[x] & 0x00FFFFFF) == kMagenta) {
                    row[x] = 0;
                }
            }
        }
        entry.image = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    entry.lastUsed = m_frame;
    return entry.image;
}

const QImage& FrameRenderer::Background(const QImage& source, int width, int height) {
    static const QImage none;
    if (source.isNull()) {
        return none;
    }
    const qint64 key = source.cacheKey();
    for (ScaledBackground& slot : m_backgrounds) {
        if (slot.hadSource && slot.sourceKey == key && slot.image.width() == width &&
            slot.image.height() == height) {
            slot.lastUsed = m_frame;
            return slot.image;
        }
    }
    // Replace the slot used least recently (the frame and the client-PC view each
    // keep theirs).
    ScaledBackground& slot = m_backgrounds[0].lastUsed <= m_backgrounds[1].lastUsed
                                 ? m_backgrounds[0]
                                 : m_backgrounds[1];
    slot.sourceKey = key;
    slot.hadSource = true;
    slot.lastUsed = m_frame;
    slot.image = source.convertToFormat(QImage::Format_RGB32)
                     .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    if (slot.image.width() != width || slot.image.height() != height) {
        slot = ScaledBackground{};
        return none;
    }
    return slot.image;
}

std::size_t FrameRenderer::DrawText(QPainter& painter, int x, int y, const QFont& font,
                                    std::string_view cp949, int pixelsPerByte) {
    const QFontMetrics metrics(font);
    const QPaintDevice* device = painter.device();
    const long long width = device->width();
    const long long height = device->height();
    const long long margin = InkMargin(metrics);
    if (y + margin < 0 || y - margin > height || x - margin > width) {
        return 0;
    }
    long long left = x;
    std::string_view shown = cp949;
    if (cp949.size() > kWholeLineBytes) {
        const long long perByte = std::max(1, pixelsPerByte);
        std::size_t start = 0;
        if (x < -margin) {
            const auto skipped = static_cast<std::size_t>(
                std::min<long long>((-margin - x) / perByte, cp949.size()));
            start = CharStartAtOrBefore(cp949, skipped / kLongLineGridBytes * kLongLineGridBytes);
        }
        left = x + perByte * static_cast<long long>(start);
        // Enough bytes to pass the right edge even where glyphs are a quarter as wide
        // as the model has them.
        const long long reach = (width + margin - left) * 4 / perByte + 2;
        shown = WholeCharsFrom(cp949, start, static_cast<std::size_t>(std::max(0LL, reach)));
    }
    if (shown.empty()) {
        return 0;
    }
    // TextOut places the top of the text cell at y.
    painter.setFont(font);
    painter.drawText(QPoint(static_cast<int>(left), y + metrics.ascent()), fromCp949(shown));
    return shown.size();
}

void FrameRenderer::ComposeDesktop(QPainter& painter, const DesktopSession& session, int yOffset) {
    const CDesktopInfo& desktop = session.m_desktop;

    for (const CInfoUserImage& picture : desktop.m_arrUserImage) {
        const QImage& keyed = Keyed(picture.m_pBitmap);
        if (keyed.isNull() || !Sane(picture.m_nX) || !Sane(picture.m_nY)) {
            continue;
        }
        painter.drawImage(QPoint(picture.m_nX, picture.m_nY + yOffset), keyed);
    }

    painter.setPen(QColor::fromRgb(kWhite));
    for (const CInfoFolder& folder : desktop.m_arrFolder) {
        const ItemRect& rc = folder.m_rcItem;
        if (!Sane(rc.left) || !Sane(rc.top) || !Sane(rc.right) || !Sane(rc.bottom)) {
            continue;
        }
        const QImage& keyed = Keyed(folder.m_pBitmap);
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        if (!keyed.isNull() && width > 0 && height > 0) {
            if (width == keyed.width() && height == keyed.height()) {
                painter.drawImage(QPoint(rc.left, rc.top + yOffset), keyed);
            } else {
                // Stretched without smoothing, as a keyed blit stretches.
                painter.drawImage(QRect(rc.left, rc.top + yOffset, width, height), keyed);
            }
        }
        // The title right after its icon: a later icon may cover it.
        if (folder.m_bShow != 0 && !folder.m_strTitle.empty()) {
            const QPoint at = TitleOrigin(rc.left, rc.top, folder.m_pBitmap.width(),
                                          folder.m_pBitmap.height(), folder.m_strTitle.size());
            DrawText(painter, at.x(), at.y() + yOffset, m_fontBold14, folder.m_strTitle,
                     kTitlePixelsPerByte);
        }
    }
}

void FrameRenderer::DrawLabels(QPainter& painter, const CDesktopInfo& desktop, int yOffset) {
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!desktop.m_bLabelUsed[slot]) {
            continue;
        }
        const CInfoLabel& label = desktop.m_label[slot];
        const long long h = std::llabs(static_cast<long long>(label.m_nHeight));
        const long long step = h * 7 / 5;
        if (!Sane(label.m_nX) || !Sane(label.m_nY) || !Sane(step)) {
            continue;
        }
        painter.setPen(FromColorRef(desktop.m_crLabel[slot]));
        // The hit tests take a byte of a label as h / 2 + 1 pixels wide.
        const int perByte = static_cast<int>(std::min<long long>(h / 2 + 1, kCoordLimit));
        const long long below = painter.device()->height() + InkMargin(QFontMetrics(label.m_font));
        std::size_t laidOut = 0;
        int lines = 0;
        // Line 0 up to the first "\n", then the next, stopping at the first empty line.
        std::string_view text = label.m_strText;
        for (long long index = 0;; ++index) {
            const std::size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            if (line.empty()) {
                break;
            }
            const long long y = label.m_nY + yOffset + step * index;
            if (!Sane(y) || (step > 0 && y > below)) {
                break;  // this line and every later one lie below the canvas
            }
            const std::size_t drawn =
                DrawText(painter, label.m_nX, static_cast<int>(y), label.m_font, line, perByte);
            if (drawn > 0) {
                laidOut += drawn;
                if (++lines >= kLabelLines || laidOut >= kLabelLaidOutBytes) {
                    break;
                }
            }
            if (end == std::string_view::npos) {
                break;
            }
            text.remove_prefix(end + 1);
        }
    }
    painter.setPen(QColor::fromRgb(kWhite));
}

QImage FrameRenderer::RenderFrame(const DesktopSession& session, const CanvasState& state) {
    QImage frame;
    RenderFrameInto(frame, session, state);
    return frame;
}

void FrameRenderer::RenderFrameInto(QImage& frame, const DesktopSession& session,
                                    const CanvasState& state) {
    const int strip = state.m_nToolbarHeight;
    const int width = session.m_nResWidth;
    const long long height = static_cast<long long>(session.m_nResHeight) + strip;
    if (width <= 0 || session.m_nResHeight <= 0 || !Sane(width) || !Sane(height)) {
        frame = QImage();
        return;
    }
    if (frame.width() != width || frame.height() != height ||
        frame.format() != QImage::Format_RGB32 || !frame.isDetached()) {
        frame = QImage(width, static_cast<int>(height), QImage::Format_RGB32);
        if (frame.isNull()) {
            return;
        }
    }
    BeginFrame();

    // The background covers the whole client area, strip included. Without a
    // background the canvas is black.
    const QImage& background =
        Background(session.m_desktop.m_imgBackground, width, static_cast<int>(height));
    if (background.isNull()) {
        frame.fill(Qt::black);
    } else {
        std::memcpy(frame.bits(), background.constBits(),
                    static_cast<std::size_t>(frame.sizeInBytes()));
    }

    QPainter painter(&frame);
    painter.fillRect(QRect(0, 0, width, strip), QColor::fromRgb(kToolbarGrey));

    ComposeDesktop(painter, session, strip);

    const auto& folders = session.m_desktop.m_arrFolder;
    if (state.m_nHoverFolder >= 0) {
        if (static_cast<std::size_t>(state.m_nHoverFolder) < folders.size()) {
            const ItemRect& rc = folders[state.m_nHoverFolder].m_rcItem;
            if (Sane(rc.left) && Sane(rc.top) && Sane(rc.right) && Sane(rc.bottom)) {
                Draw3dRect(painter, rc.left - 5, rc.top + strip - 5, rc.right - rc.left + 10,
                           rc.bottom - rc.top + 10, kFrameLight, kFrameShadow);
            }
        }
    } else if (state.m_bPointerInside && state.m_ptMouse.y() > 0 && state.m_ptMouse.y() < strip) {
        const int x = state.m_ptMouse.x();
        if (x >= 0 && x <= 140) {
            Draw3dRect(painter, 1, 1, 140, 40, kFrameLight, kFrameShadow);
        } else if (x >= 141 && x <= 250) {
            Draw3dRect(painter, 141, 1, 110, 40, kFrameLight, kFrameShadow);
        }
    }

    DrawLabels(painter, session.m_desktop, strip);

    const int hoverText = state.m_nHoverText;
    if (hoverText >= 0 && hoverText < kLabelSlots && session.m_desktop.m_bLabelUsed[hoverText]) {
        // The frame covers the first line only.
        const CInfoLabel& label = session.m_desktop.m_label[hoverText];
        const long long h = std::llabs(static_cast<long long>(label.m_nHeight));
        const long long n = static_cast<long long>(FirstLine(label.m_strText).size());
        const long long x = label.m_nX - 5LL;
        const long long y = label.m_nY + static_cast<long long>(strip) + h / 5 - 5;
        const long long cx = (h / 2 + 1) * n + 10;
        const long long cy = h * 7 / 5;
        if (Sane(x) && Sane(y) && Sane(cx) && Sane(cy)) {
            Draw3dRect(painter, int(x), int(y), int(cx), int(cy), kFrameLight, kFrameShadow);
        }
    }

    painter.setPen(QColor::fromRgb(kWhite));
    DrawText(painter, 10, 8, m_fontBold16, toCp949(QStringLiteral("바탕화면 정리기")),
             kTitlePixelsPerByte);
    DrawText(painter, 150, 8, m_fontBold16, toCp949(QStringLiteral("해상도 설정")),
             kTitlePixelsPerByte);

    const QImage& launcher = Keyed(session.m_pLauncherBitmap);
    if (Sane(session.m_nLauncherX) && Sane(session.m_nLauncherY)) {
        if (!launcher.isNull()) {
            painter.drawImage(QPoint(session.m_nLauncherX, session.m_nLauncherY), launcher);
        }
        if (state.m_bLauncherDrag) {
            Draw3dRect(painter, session.m_nLauncherX - 5, session.m_nLauncherY - 5,
                       session.m_pLauncherBitmap.width() + 10,
                       session.m_pLauncherBitmap.height() + 10, kFrameLight, kFrameShadow);
        }
    }
    painter.end();
    EndFrame();
}

QImage FrameRenderer::RenderDesktop(const DesktopSession& session,
                                    const DesktopRenderOptions& options) {
    const int width = session.m_nResWidth;
    const int height = session.m_nResHeight;
    if (width <= 0 || height <= 0 || !Sane(width) || !Sane(height)) {
        return QImage();
    }
    QImage desktop(width, height, QImage::Format_RGB32);
    if (desktop.isNull()) {
        return desktop;
    }
    BeginFrame();
    const QImage& background = Background(session.m_desktop.m_imgBackground, width, height);
    if (background.isNull()) {
        desktop.fill(Qt::black);
    } else {
        std::memcpy(desktop.bits(), background.constBits(),
                    static_cast<std::size_t>(desktop.sizeInBytes()));
    }
    QPainter painter(&desktop);
    ComposeDesktop(painter, session, 0);
    DrawLabels(painter, session.m_desktop, 0);
    if (options.drawLauncher) {
        const long long x = options.launcherAt ? options.launcherAt->x() : session.m_nLauncherX;
        const long long y = options.launcherAt ? options.launcherAt->y()
                                               : session.m_nLauncherY - 1LL * kToolbarHeight;
        const QImage& launcher = Keyed(session.m_pLauncherBitmap);
        if (!launcher.isNull() && Sane(x) && Sane(y)) {
            painter.drawImage(QPoint(int(x), int(y)), launcher);
        }
    }
    painter.end();
    EndFrame();
    return desktop;
}

QImage RenderFrame(const DesktopSession& session, const CanvasState& state) {
    FrameRenderer renderer;
    return renderer.RenderFrame(session, state);
}

}  // namespace vodirev
