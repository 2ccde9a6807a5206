#include "editor/frame_renderer.h"

#include "editor/korean_fonts.h"
#include "editor_test_util.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QPainter>
#include <QRawFont>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <vector>

namespace vodirev {
namespace {

using test::AddIcon;
using test::AddPicture;
using test::Cp949;
using test::MakeSession;
using test::SetLabel;
using test::Solid;

class FontEnvironment : public ::testing::Environment {
public:
    void SetUp() override { InstallKoreanFontSubstitutions(); }
};
const auto* const kFontEnvironment = ::testing::AddGlobalTestEnvironment(new FontEnvironment);

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kMagentaKey = 0xFFFF00FF;

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

// Bounding box of the pixels that differ from the colour the area had without them.
QRect InkBox(const QImage& image, const QRect& area, QRgb background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.valid(x, y) && image.pixel(x, y) != background) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

// True when the text in the box is white on the grey strip: it holds pure white
// pixels and every pixel is a grey level (antialiasing blends white into grey only).
bool IsWhiteInk(const QImage& image, const QRect& box) {
    bool white = false;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) {
                return false;
            }
            white = white || (p & 0xFFFFFF) == 0xFFFFFF;
        }
    }
    return white;
}

// Bounding box of the white text pixels (antialiased edges included) in the area.
QRect WhiteBox(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.valid(x, y) ? image.pixel(x, y) : 0;
            if (qRed(p) > 60 && qGreen(p) > 60 && qBlue(p) > 60) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

// Rows of the area that hold pixels of the given hue (red dominant), as runs.
std::vector<int> RedRunStarts(const QImage& image, const QRect& area) {
    std::vector<int> starts;
    bool inRun = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool red = false;
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 100 && qGreen(p) < 60 && qBlue(p) < 60) {
                red = true;
                break;
            }
        }
        if (red && !inRun) {
            starts.push_back(y);
        }
        inRun = red;
    }
    return starts;
}

TEST(KoreanFonts, FacesMapToNanumAndKeepTheHalfWidthGrid) {
    const QFont bold14 = MakeGdiFont(-14, 700, Cp949("굴림체"));
    EXPECT_EQ(QFontInfo(bold14).family(), QStringLiteral("NanumGothicCoding"));
    // Titles are centred at 7 pixels per byte: one Latin byte 7, one syllable 14.
    const QFontMetrics metrics(bold14);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("A")), 7);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("가")), 14);
    for (const char* face :
         {"굴림", "굴림체", "궁서", "궁서체", "돋움", "돋움체", "바탕", "바탕체", "맑은 고딕"}) {
        const QString family = QFontInfo(MakeGdiFont(-12, 400, Cp949(face))).family();
        EXPECT_TRUE(family.startsWith(QStringLiteral("Nanum")))
            << face << " -> " << family.toStdString();
        // Sizes 8, 36 and 72 of the font dialog: a face that has Hangul, and ink.
        for (const int height : {-11, -48, -95}) {
            const QFont font = MakeGdiFont(height, 400, Cp949(face));
            EXPECT_TRUE(
                QRawFont::fromFont(font, QFontDatabase::Korean).supportsCharacter(U'\uAC00'))
                << face << " " << height;
            // A missing glyph draws the same box for every syllable.
            const auto draw = [&font](const QString& text) {
                QImage image(200, 120, QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.setFont(font);
                painter.setPen(Qt::black);
                painter.drawText(QPoint(2, 100), text);
                return image;
            };
            const QImage ga = draw(QStringLiteral("가"));
            EXPECT_NE(ga, draw(QStringLiteral("나"))) << face << " " << height;
            EXPECT_NE(ga, draw(QString())) << face << " " << height;
        }
    }
}

TEST(Draw3dRect, LightTopLeftShadowBottomRightAsGdiDrawsIt) {
    QImage image = Solid(20, 20, kBlack);
    QPainter painter(&image);
    Draw3dRect(painter, 2, 3, 10, 6, kFrameLight, kFrameShadow);
    painter.end();
    // Top row x 2..10 and left column y 3..7 light; right column x 11 (y 3..8) and
    // bottom row y 8 (x 2..11) shadow, corners included.
    EXPECT_EQ(At(image, 2, 3), kFrameLight);
    EXPECT_EQ(At(image, 10, 3), kFrameLight);
    EXPECT_EQ(At(image, 11, 3), kFrameShadow);
    EXPECT_EQ(At(image, 2, 7), kFrameLight);
    EXPECT_EQ(At(image, 2, 8), kFrameShadow);
    EXPECT_EQ(At(image, 11, 8), kFrameShadow);
    EXPECT_EQ(At(image, 6, 5), kBlack);  // inside stays
    EXPECT_EQ(At(image, 12, 3), kBlack);
    EXPECT_EQ(At(image, 2, 9), kBlack);
    EXPECT_EQ(At(image, 1, 3), kBlack);
}

TEST(FrameRenderer, EmptyDesktopShowsBackgroundStripAndCaptions) {
    DesktopSession session = MakeSession(400, 300);
    // Four quadrant colours stretched over the whole client area, strip included.
    QImage background(2, 2, QImage::Format_RGB32);
    background.setPixel(0, 0, kRed);
    background.setPixel(1, 0, kGreen);
    background.setPixel(0, 1, kBlue);
    background.setPixel(1, 1, 0xFFFFFF00);
    session.m_desktop.m_imgBackground = background;

    const QImage frame = RenderFrame(session, CanvasState{});
    ASSERT_EQ(frame.size(), QSize(400, 340));
    EXPECT_EQ(frame.format(), QImage::Format_RGB32);
    EXPECT_EQ(At(frame, 0, 0), kToolbarGrey);
    EXPECT_EQ(At(frame, 399, 39), kToolbarGrey);
    EXPECT_EQ(At(frame, 399, 40), kGreen);  // top right quadrant begins under the strip
    EXPECT_EQ(At(frame, 0, 339), kBlue);
    EXPECT_EQ(At(frame, 399, 339), 0xFFFFFF00);
    // Smooth scaling blends in the middle.
    const QRgb middle = At(frame, 200, 170);
    EXPECT_NE(middle, kRed);
    EXPECT_NE(middle, kBlue);

    // Captions: white text in the strip starting near (10, 8) and (150, 8).
    const QRect first = InkBox(frame, QRect(0, 0, 145, 40), kToolbarGrey);
    const QRect second = InkBox(frame, QRect(145, 0, 200, 40), kToolbarGrey);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_GE(first.left(), 10);
    EXPECT_LE(first.left(), 13);
    EXPECT_GE(first.top(), 8);
    EXPECT_LE(first.bottom(), 8 + 16);
    EXPECT_GE(second.left(), 150);
    EXPECT_LE(second.left(), 153);
    EXPECT_TRUE(IsWhiteInk(frame, first));
    EXPECT_TRUE(IsWhiteInk(frame, second));

    // Without a background the canvas is black.
    session.m_desktop.m_imgBackground = QImage();
    const QImage plain = RenderFrame(session, CanvasState{});
    EXPECT_EQ(At(plain, 200, 200), kBlack);
    EXPECT_EQ(At(plain, 399, 339), kBlack);
}

TEST(FrameRenderer, ToolbarHighlightFollowsThePointer) {
    DesktopSession session = MakeSession(400, 300);
    CanvasState state;
    const auto highlight = [&](int x, int y) {
        state.m_ptMouse = QPoint(x, y);
        return RenderFrame(session, state);
    };
    // First button: outline at (1, 1), 140 x 40.
    for (int x : {0, 140}) {
        const QImage frame = highlight(x, 20);
        EXPECT_EQ(At(frame, 1, 1), kFrameLight) << x;
        EXPECT_EQ(At(frame, 139, 1), kFrameLight) << x;
        EXPECT_EQ(At(frame, 1, 39), kFrameLight) << x;
        EXPECT_EQ(At(frame, 140, 20), kFrameShadow) << x;
        EXPECT_EQ(At(frame, 70, 40), kFrameShadow) << x;  // bottom row reaches the canvas
        EXPECT_EQ(At(frame, 200, 40), kBlack) << x;
    }
    // Second button: outline at (141, 1), 110 x 40.
    {
        const QImage frame = highlight(141, 20);
        EXPECT_EQ(At(frame, 141, 20), kFrameLight);
        EXPECT_EQ(At(frame, 250, 20), kFrameShadow);
        EXPECT_EQ(At(frame, 200, 40), kFrameShadow);
        EXPECT_EQ(At(frame, 140, 20), kToolbarGrey);
        EXPECT_EQ(At(frame, 70, 40), kBlack);
    }
    // Beyond the buttons, on the strip's edges or below it: nothing.
    for (QPoint p : {QPoint(251, 20), QPoint(100, 0), QPoint(100, 40), QPoint(-1, 20)}) {
        const QImage frame = highlight(p.x(), p.y());
        EXPECT_EQ(At(frame, 140, 20), kToolbarGrey) << p.x() << "," << p.y();
        EXPECT_EQ(At(frame, 250, 20), kToolbarGrey) << p.x() << "," << p.y();
        EXPECT_EQ(At(frame, 70, 40), kBlack) << p.x() << "," << p.y();
        EXPECT_EQ(At(frame, 200, 40), kBlack) << p.x() << "," << p.y();
    }
    // After the pointer left the window the last position stays, unhighlighted.
    state.m_bPointerInside = false;
    EXPECT_EQ(At(highlight(100, 20), 140, 20), kToolbarGrey);
    state.m_bPointerInside = true;
    // A hovered icon takes precedence over the toolbar highlight.
    AddIcon(session, 1, 300, 200, Solid(32, 32, kRed));
    state.m_nHoverFolder = 0;
    const QImage frame = highlight(100, 20);
    EXPECT_EQ(At(frame, 140, 20), kToolbarGrey);
    EXPECT_EQ(At(frame, 70, 40), kBlack);
}

TEST(FrameRenderer, IconsStretchKeyAndStackInListOrder) {
    DesktopSession session = MakeSession(400, 300);
    session.m_desktop.m_imgBackground = Solid(10, 10, kGreen);
    // A red icon with a magenta hole: the background shows through the hole.
    QImage holed = Solid(64, 64, kRed);
    for (int y = 20; y < 40; ++y) {
        for (int x = 20; x < 40; ++x) {
            holed.setPixel(x, y, kMagentaKey);
        }
    }
    AddIcon(session, 1, 10, 10, holed);
    // Two icons on the same rectangle: the later one is on top.
    AddIcon(session, 2, 200, 100, Solid(64, 64, kRed));
    AddIcon(session, 2, 200, 100, Solid(64, 64, kBlue));
    // A 16 x 16 bitmap in a 48 x 32 rectangle is stretched to the rectangle.
    CInfoFolder& stretched = AddIcon(session, 1, 300, 200, Solid(16, 16, kBlue));
    stretched.m_rcItem = {300, 200, 348, 232};
    // A picture at natural size, 40 pixels lower, under the icons.
    QImage picture = Solid(30, 20, kRed);
    picture.setPixel(0, 0, kMagentaKey);
    AddPicture(session, 100, 200, picture);

    const QImage frame = RenderFrame(session, CanvasState{});
    EXPECT_EQ(At(frame, 10, 50), kRed);
    EXPECT_EQ(At(frame, 73, 113), kRed);
    EXPECT_EQ(At(frame, 30, 70), kGreen);  // the magenta hole
    EXPECT_EQ(At(frame, 74, 50), kGreen);  // right of the icon
    EXPECT_EQ(At(frame, 230, 170), kBlue);
    EXPECT_EQ(At(frame, 347, 271), kBlue);
    EXPECT_EQ(At(frame, 348, 240), kGreen);
    EXPECT_EQ(At(frame, 300, 272), kGreen);
    EXPECT_EQ(At(frame, 100, 240), kGreen);  // keyed corner of the picture
    EXPECT_EQ(At(frame, 101, 240), kRed);
    EXPECT_EQ(At(frame, 129, 259), kRed);
    EXPECT_EQ(At(frame, 130, 259), kGreen);
    EXPECT_EQ(At(frame, 129, 260), kGreen);
}

TEST(FrameRenderer, TitlesAreCentredOnTheBitmapByByteCount) {
    DesktopSession session = MakeSession(400, 300);
    // Stretched to 64 x 64 but the title is placed from the 32 x 32 bitmap.
    CInfoFolder& small = AddIcon(session, 1, 100, 20, Solid(32, 32, kBlue), "HH");
    small.m_rcItem = {100, 20, 164, 84};
    // Eleven bytes on 64 pixels: (64 - 77) / 2 = -6 in C division.
    AddIcon(session, 2, 250, 20, Solid(64, 64, kBlue), "HHHHHHHHHHH");
    // Hangul counts two bytes a syllable: (64 - 28) / 2 = 18.
    AddIcon(session, 2, 100, 150, Solid(64, 64, kBlue), Cp949("가가"));
    // Hidden title.
    AddIcon(session, 2, 250, 150, Solid(64, 64, kBlue), "HHHH", 0);

    EXPECT_EQ(TitleOrigin(100, 20, 32, 32, 2), QPoint(100 + 9, 20 + 32 + 7));
    EXPECT_EQ(TitleOrigin(250, 20, 64, 64, 11), QPoint(244, 91));
    EXPECT_EQ(TitleOrigin(0, 0, 0, 0, 3), QPoint(-10, 7));

    const QImage frame = RenderFrame(session, CanvasState{});
    const auto titleBox = [&](int x, int y) {
        // The text cell starts at y (client) and is 14 pixels high.
        return WhiteBox(frame, QRect(x - 20, y - 3, 120, 22));
    };
    const QRect a = titleBox(109, 20 + 32 + 47);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_GE(a.left(), 109);
    EXPECT_LE(a.left(), 111);
    EXPECT_GE(a.top(), 99);
    EXPECT_LE(a.bottom(), 99 + 14);
    EXPECT_LE(a.right(), 109 + 14);

    const QRect b = titleBox(244, 20 + 64 + 47);
    ASSERT_FALSE(b.isEmpty());
    EXPECT_GE(b.left(), 244);  // starts left of the icon at 250
    EXPECT_LE(b.left(), 246);
    EXPECT_LE(b.right(), 244 + 77);

    const QRect c = titleBox(118, 150 + 64 + 47);
    ASSERT_FALSE(c.isEmpty());
    EXPECT_GE(c.left(), 118);
    EXPECT_LE(c.left(), 120);
    EXPECT_LE(c.right(), 118 + 28);

    EXPECT_TRUE(WhiteBox(frame, QRect(230, 150 + 64 + 40, 120, 30)).isEmpty());
}

TEST(FrameRenderer, LabelsDrawLineByLineAndStopAtAnEmptyLine) {
    DesktopSession session = MakeSession(400, 300);
    const CInfoLabel& label = SetLabel(session, 0, 50, 30, "HH\nHH\nHH");
    SetLabel(session, 1, 250, 30, "\nHH");
    SetLabel(session, 2, 250, 150, "HH\n\nHH");
    SetLabel(session, 3, 50, 200, "HH");
    session.m_desktop.m_bLabelUsed[3] = 0;  // a slot not in use is not drawn

    const QImage frame = RenderFrame(session, CanvasState{});
    // Height -24: lines at y + 40, + 73, + 106; the cap tops sit at the same offset
    // from each line's cell top.
    const QFontMetrics metrics(label.m_font);
    const int capOffset = metrics.ascent() + metrics.tightBoundingRect(QStringLiteral("H")).top();
    const std::vector<int> runs = RedRunStarts(frame, QRect(40, 40, 100, 150));
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_NEAR(runs[0], 30 + 40 + capOffset, 1);
    EXPECT_EQ(runs[1] - runs[0], 33);
    EXPECT_EQ(runs[2] - runs[0], 66);

    EXPECT_TRUE(RedRunStarts(frame, QRect(240, 40, 150, 100)).empty());  // empty first line
    EXPECT_EQ(RedRunStarts(frame, QRect(240, 170, 150, 120)).size(), 1u);
    EXPECT_TRUE(RedRunStarts(frame, QRect(40, 230, 150, 60)).empty());

    // The colour is 0x00BBGGRR.
    DesktopSession blue = MakeSession(400, 300);
    SetLabel(blue, 0, 50, 30, "HH", -24, MakeColorRef(0, 0, 255));
    const QRect ink = InkBox(RenderFrame(blue, CanvasState{}), QRect(40, 60, 100, 40), kBlack);
    ASSERT_FALSE(ink.isEmpty());
    const QImage blueFrame = RenderFrame(blue, CanvasState{});
    bool sawBlue = false;
    for (int x = ink.left(); x <= ink.right(); ++x) {
        const QRgb p = blueFrame.pixel(x, ink.center().y());
        sawBlue |= qBlue(p) > 200 && qRed(p) < 30 && qGreen(p) < 30;
    }
    EXPECT_TRUE(sawBlue);
}

TEST(FrameRenderer, HoverFramesSurroundIconTextAndLauncher) {
    DesktopSession session = MakeSession(400, 300);
    AddIcon(session, 1, 100, 100, Solid(64, 64, kBlue));
    SetLabel(session, 0, 250, 30, "HHHH\nHHHHHHHHHH");  // frame covers the first line
    SetLabel(session, 1, 250, 200, "\nHH");
    session.m_pLauncherBitmap = Solid(50, 20, kGreen);
    session.m_nLauncherX = 300;
    session.m_nLauncherY = 250;

    CanvasState state;
    state.m_nHoverFolder = 0;
    state.m_nHoverText = 0;
    state.m_bLauncherDrag = true;
    QImage frame = RenderFrame(session, state);
    // Icon: (95, 135), 74 x 74.
    EXPECT_EQ(At(frame, 95, 135), kFrameLight);
    EXPECT_EQ(At(frame, 167, 135), kFrameLight);
    EXPECT_EQ(At(frame, 168, 135), kFrameShadow);
    EXPECT_EQ(At(frame, 95, 207), kFrameLight);
    EXPECT_EQ(At(frame, 95, 208), kFrameShadow);
    EXPECT_EQ(At(frame, 168, 208), kFrameShadow);
    EXPECT_EQ(At(frame, 94, 135), kBlack);
    // Text, h = 24, n = 4: (245, 30 + 40 + 4 - 5) = (245, 69), 13 * 4 + 10 = 62 x 33.
    EXPECT_EQ(At(frame, 245, 69), kFrameLight);
    EXPECT_EQ(At(frame, 306, 69), kFrameShadow);
    EXPECT_EQ(At(frame, 245, 101), kFrameShadow);
    EXPECT_EQ(At(frame, 245, 100), kFrameLight);
    EXPECT_NE(At(frame, 307, 69), kFrameShadow);
    // Launcher at client (300, 250) with its drag outline at (295, 245), 60 x 30.
    EXPECT_EQ(At(frame, 300, 250), kGreen);
    EXPECT_EQ(At(frame, 349, 269), kGreen);
    EXPECT_EQ(At(frame, 295, 245), kFrameLight);
    EXPECT_EQ(At(frame, 354, 274), kFrameShadow);

    // An empty first line: a 10-pixel-wide frame at x - 5.
    state = CanvasState{};
    state.m_nHoverText = 1;
    frame = RenderFrame(session, state);
    EXPECT_EQ(At(frame, 245, 239), kFrameLight);
    EXPECT_EQ(At(frame, 254, 239), kFrameShadow);
    EXPECT_EQ(At(frame, 255, 239), kBlack);
    EXPECT_EQ(At(frame, 300, 250), kGreen);
    EXPECT_EQ(At(frame, 295, 245), kBlack);  // no drag outline without a drag
}

TEST(FrameRenderer, BrokenAndStaleInputDrawsWhatItCan) {
    DesktopSession session = MakeSession(200, 100);
    AddIcon(session, 1, 10, 10, QImage(), "HH");  // bitmap did not decode
    AddPicture(session, 50, 10, QImage());
    CInfoFolder& far = AddIcon(session, 2, 0, 0, Solid(8, 8, kRed), "HH");
    far.m_rcItem = {INT_MAX - 4, INT_MIN, INT_MAX, INT_MIN + 8};
    SetLabel(session, 0, INT_MAX, INT_MAX, "HH", INT_MIN);
    session.m_nLauncherY = INT_MIN;
    CanvasState state;
    state.m_nHoverFolder = 7;  // index from a list that has since shrunk
    state.m_nHoverText = 4;    // slot not in use
    const QImage frame = RenderFrame(session, state);
    ASSERT_EQ(frame.size(), QSize(200, 140));
    // The undecoded icon still shows its title below an empty bitmap: x = 10 - 7.
    EXPECT_FALSE(InkBox(frame, QRect(0, 50, 40, 25), kBlack).isEmpty());

    session.m_nResWidth = 0;
    EXPECT_TRUE(RenderFrame(session, state).isNull());
}

// "a가" repeated to `bytes` bytes: 7 + 14 pixels every three bytes in the title face.
std::string Pattern(std::size_t bytes) {
    const std::string unit = "a" + Cp949("가");
    std::string text;
    text.reserve(bytes);
    while (text.size() < bytes) {
        text += unit;
    }
    return text.substr(0, bytes);
}

// Megabytes of text are laid out only where they reach the canvas: the frame is the
// one a text just long enough to cover the canvas gives.
TEST(FrameRenderer, HugeTitlesAndLabelsShowWhatAShortTextShowsThere) {
    const auto frameWith = [](const std::string& title, const std::string& label) {
        DesktopSession session = MakeSession(640, 200);
        AddIcon(session, 1, 300, 20, Solid(64, 64, kBlue), title);
        SetLabel(session, 0, 10, 120, label, -14);
        return RenderFrame(session, CanvasState{});
    };
    // Centred by byte count, a title of 3,000,064 bytes starts at x = -10,499,892;
    // its first byte that can show is about byte 1,499,984, so it is laid out from
    // byte 1,499,904 (a multiple of 96), at x = -564. A title of 256 bytes starts
    // there too, with the same characters, and covers the canvas as well.
    const QImage expected = frameWith(Pattern(256), Pattern(3000));
    const QImage frame = frameWith(Pattern(3'000'064), Pattern(3'000'000));
    ASSERT_FALSE(InkBox(expected, QRect(0, 125, 640, 25), kBlack).isEmpty());
    ASSERT_FALSE(InkBox(expected, QRect(0, 160, 640, 25), kBlack).isEmpty());
    EXPECT_TRUE(frame == expected);

    // A label of a million lines draws the lines that reach the canvas.
    std::string lines;
    for (int i = 0; i < 1'000'000; ++i) {
        lines += "a\n";
    }
    const QImage manyLines = frameWith(Pattern(300), lines);
    std::string visible;
    for (int i = 0; i < 10; ++i) {
        visible += "a\n";
    }
    EXPECT_TRUE(manyLines == frameWith(Pattern(300), visible));
}

TEST(FrameRenderer, DesktopViewHasNoStripNoFramesAndPlacesTheLauncher) {
    DesktopSession session = MakeSession(300, 200);
    session.m_desktop.m_imgBackground = Solid(3, 3, kGreen);
    AddIcon(session, 1, 100, 100, Solid(20, 20, kBlue));
    session.m_pLauncherBitmap = Solid(10, 10, kRed);
    session.m_nLauncherX = 5;
    session.m_nLauncherY = 60;

    FrameRenderer renderer;
    QImage desktop = renderer.RenderDesktop(session);
    ASSERT_EQ(desktop.size(), QSize(300, 200));
    EXPECT_EQ(At(desktop, 150, 5), kGreen);   // no strip
    EXPECT_EQ(At(desktop, 100, 100), kBlue);  // canvas coordinates
    EXPECT_EQ(At(desktop, 99, 100), kGreen);
    EXPECT_EQ(At(desktop, 5, 20), kRed);  // launcher at (x, y - 40)
    EXPECT_EQ(At(desktop, 4, 20), kGreen);

    desktop = renderer.RenderDesktop(session, {.drawLauncher = true, .launcherAt = QPoint(0, 0)});
    EXPECT_EQ(At(desktop, 0, 0), kRed);
    EXPECT_EQ(At(desktop, 5, 20), kGreen);
    desktop = renderer.RenderDesktop(session, {.drawLauncher = false, .launcherAt = {}});
    EXPECT_EQ(At(desktop, 5, 20), kGreen);
}

TEST(FrameRenderer, CachesNeverChangeThePixels) {
    DesktopSession session = MakeSession(300, 200);
    session.m_desktop.m_imgBackground = Solid(7, 5, kGreen);
    AddIcon(session, 1, 10, 10, Solid(20, 20, kBlue), "HH");
    AddIcon(session, 1, 60, 10, Solid(20, 20, kRed), "HH");
    SetLabel(session, 0, 100, 100, "HH");

    FrameRenderer renderer;
    QImage frame;
    renderer.RenderFrameInto(frame, session, CanvasState{});
    const uchar* pixels = frame.constBits();
    renderer.RenderFrameInto(frame, session, CanvasState{});
    EXPECT_EQ(frame.constBits(), pixels);  // the buffer is reused
    EXPECT_EQ(frame, RenderFrame(session, CanvasState{}));
    EXPECT_EQ(renderer.cachedBitmapCount(), 2u);

    // A changed background, a changed bitmap and a deleted icon all show at once.
    session.m_desktop.m_imgBackground.fill(kBlue);
    session.m_desktop.m_arrFolder[0].m_pBitmap.fill(kGreen);
    session.m_desktop.m_arrFolder.pop_back();
    renderer.RenderFrameInto(frame, session, CanvasState{});
    EXPECT_EQ(At(frame, 200, 150), kBlue);
    EXPECT_EQ(At(frame, 15, 55), kGreen);
    EXPECT_EQ(frame, RenderFrame(session, CanvasState{}));
    EXPECT_EQ(renderer.cachedBitmapCount(), 1u);

    // A shared target is not drawn into: the holder keeps its picture.
    const QImage kept = frame;
    session.m_desktop.m_imgBackground = Solid(1, 1, kRed);
    renderer.RenderFrameInto(frame, session, CanvasState{});
    EXPECT_EQ(At(kept, 200, 150), kBlue);
    EXPECT_EQ(At(frame, 200, 150), kRed);

    // A new client size rescales the background.
    session.m_nResWidth = 500;
    renderer.RenderFrameInto(frame, session, CanvasState{});
    EXPECT_EQ(frame.size(), QSize(500, 240));
    EXPECT_EQ(At(frame, 499, 239), kRed);
}

}  // namespace
}  // namespace vodirev
