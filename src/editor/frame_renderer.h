#pragma once
// Composes what the editor window shows: the desktop under the toolbar strip, with
// hover frames, toolbar highlights, captions and the launcher. A frame is a pure
// function of the session and the view state; the renderer only keeps caches that
// make repeated frames cheap and never change their pixels.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

class QPainter;

namespace vodirev {

// Colours of the 3-D outlines (hover, toolbar buttons, launcher drag).
inline constexpr QRgb kFrameLight = 0xFFF4F4F4;   // RGB(244, 244, 244): top and left
inline constexpr QRgb kFrameShadow = 0xFF969696;  // RGB(150, 150, 150): bottom and right
inline constexpr QRgb kToolbarGrey = 0xFFC8C8C8;  // RGB(200, 200, 200)

// How the client-PC view of the desktop places the launcher.
struct DesktopRenderOptions {
    bool drawLauncher = true;
    // Top-left corner of the launcher on the desktop. Unset: where it stands over
    // the desktop in the editor, (m_nLauncherX, m_nLauncherY - 40).
    std::optional<QPoint> launcherAt;
};

class FrameRenderer {
public:
    FrameRenderer();

    // The editor window's client area: m_nResWidth x (m_nResHeight + 40), RGB32.
    // Null when the resolution is not positive or the image cannot be allocated.
    QImage RenderFrame(const DesktopSession& session, const CanvasState& state);
    // The same into an existing image, reusing its pixels when it has the client
    // size and format and is not shared.
    void RenderFrameInto(QImage& frame, const DesktopSession& session, const CanvasState& state);

    // The desktop as the client PCs show it: m_nResWidth x m_nResHeight, items at
    // their canvas coordinates, no strip, no hover or drag frames.
    QImage RenderDesktop(const DesktopSession& session, const DesktopRenderOptions& options = {});

    // Forgets the scaled background (the next frame scales it again).
    void DropBackgroundCache();
    // Forgets everything cached.
    void ClearCaches();
    std::size_t cachedBitmapCount() const { return m_keyed.size(); }

private:
    struct KeyedEntry {
        QImage image;  // ARGB32_Premultiplied, magenta made transparent
        std::uint64_t lastUsed = 0;
    };
    struct ScaledBackground {
        qint64 sourceKey = 0;
        bool hadSource = false;
        QImage image;  // RGB32 of the target size
        std::uint64_t lastUsed = 0;
    };

    const QImage& Keyed(const QImage& bitmap);
    const QImage& Background(const QImage& source, int width, int height);
    void ComposeDesktop(QPainter& painter, const DesktopSession& session, int yOffset);
    void DrawLabels(QPainter& painter, const CDesktopInfo& desktop, int yOffset);
    // One line of text with its cell top at (x, y); a long line only as far as it can
    // reach the canvas, taking a byte as pixelsPerByte wide. Returns the bytes laid
    // out (0: none of it can show).
    std::size_t DrawText(QPainter& painter, int x, int y, const QFont& font, std::string_view cp949,
                         int pixelsPerByte);
    void BeginFrame();
    void EndFrame();

    std::unordered_map<qint64, KeyedEntry> m_keyed;
    ScaledBackground m_backgrounds[2];  // client size and desktop size
    std::uint64_t m_frame = 0;
    QFont m_fontBold14;
    QFont m_fontBold16;
};

// One frame with a throw-away renderer: the pure form, for tools and tests.
QImage RenderFrame(const DesktopSession& session, const CanvasState& state);

// GDI's Draw3dRect: the top row (x .. x+cx-2) and the left column (y .. y+cy-2) in
// the light colour, then the right column x+cx-1 and the bottom row y+cy-1, each
// full length, in the shadow colour (so the top-right and bottom-left corners are
// shadow). Rectangles of negative size are normalised as GDI does.
void Draw3dRect(QPainter& painter, int x, int y, int cx, int cy, QRgb topLeft, QRgb bottomRight);

// The width the editor gives one byte of an icon title.
inline constexpr int kTitlePixelsPerByte = 7;

// Where an icon's title starts: x = left + (bitmap width - 7 x bytes) / 2 (C
// division), y = top + bitmap height + 7, canvas coordinates.
QPoint TitleOrigin(int left, int top, int bitmapWidth, int bitmapHeight, std::size_t titleBytes);

}  // namespace vodirev
