#include "editor/canvas_view.h"

#include <gtest/gtest.h>

#include <QColor>

namespace vodirev {
namespace {

CanvasView MakeView(QSize frame, QSize available) {
    CanvasView view;
    view.SetFrameSize(frame);
    view.SetAvailableSize(available);
    return view;
}

// Every widget pixel along one axis maps inside the frame, in order, with no
// client step wider than the factor allows, from the first frame pixels to the
// last ones.
void ExpectAxisCovered(const CanvasView& view, bool horizontal) {
    const int widget = horizontal ? view.WidgetSize().width() : view.WidgetSize().height();
    const int frame = horizontal ? view.frameSize().width() : view.frameSize().height();
    const long long num = view.scaleNumerator();
    const long long den = view.scaleDenominator();
    const int widestStep = int((den + num - 1) / num);
    int previous = -1;
    for (int p = 0; p < widget; ++p) {
        const QPoint client = view.ToClient(horizontal ? QPoint(p, 0) : QPoint(0, p));
        const int c = horizontal ? client.x() : client.y();
        ASSERT_GE(c, 0) << p;
        ASSERT_LT(c, frame) << p;
        if (previous >= 0) {
            ASSERT_GT(c, previous) << p;
            ASSERT_LE(c - previous, widestStep) << p;
        }
        previous = c;
    }
    EXPECT_LE(view.ToClient(QPoint(0, 0)).x(), widestStep);
    // The last widget pixel may stand for less than a whole step.
    EXPECT_GE(previous, frame - 1 - 2 * widestStep);
}

TEST(CanvasView, AFrameThatFitsIsShownAsItIs) {
    for (const QSize available : {QSize(800, 600), QSize(640, 520), QSize()}) {
        CanvasView view = MakeView(QSize(640, 520), available);
        EXPECT_TRUE(view.Fits());
        EXPECT_FALSE(view.IsScaled());
        EXPECT_EQ(view.WidgetSize(), QSize(640, 520));
        EXPECT_EQ(view.ToClient(QPoint(639, 519)), QPoint(639, 519));
        EXPECT_EQ(view.ToClient(QPoint(-30, 700)), QPoint(-30, 700));  // a drag past the edge
        // Neither the key nor the wheel changes anything.
        EXPECT_FALSE(view.ToggleFit(QPoint(10, 10)));
        EXPECT_FALSE(view.Wheel(QPoint(0, -120), false));
        EXPECT_FALSE(view.IsScaled());
        EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
        EXPECT_EQ(view.WidgetSize(), QSize(640, 520));
    }
}

TEST(CanvasView, FullHdOnASmallLaptopScreenIsFittedByHeight) {
    // 1920 x 1120 into 1366 x 768: the height is short the most, factor 768 / 1120.
    CanvasView view = MakeView(QSize(1920, 1120), QSize(1366, 768));
    ASSERT_TRUE(view.IsScaled());
    EXPECT_EQ(view.scaleNumerator(), 768);
    EXPECT_EQ(view.scaleDenominator(), 1120);
    EXPECT_EQ(view.WidgetSize(), QSize(1316, 768));  // 1920 x 24 / 35 = 1316.57
    // Pixel centres: (2p + 1) x 35 / 48, rounded down.
    EXPECT_EQ(view.ToClient(QPoint(0, 0)), QPoint(0, 0));
    EXPECT_EQ(view.ToClient(QPoint(700, 400)), QPoint(1021, 584));
    EXPECT_EQ(view.ToClient(QPoint(1315, 767)), QPoint(1918, 1119));
    // Outside the window the same line goes on (a drag holding the pointer).
    EXPECT_EQ(view.ToClient(QPoint(-1, -2)), QPoint(-1, -3));
    EXPECT_EQ(view.ToClient(QPoint(1316, 768)), QPoint(1919, 1120));
    ExpectAxisCovered(view, true);
    ExpectAxisCovered(view, false);
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
    EXPECT_FALSE(view.Wheel(QPoint(0, -120), false));  // nothing to scroll when fitted
}

TEST(CanvasView, AwkwardFactorsKeepTheAspectAndMapInside) {
    struct Case {
        QSize frame, available, widget;
    };
    const Case cases[] = {
        {{1920, 1120}, {1366, 1000}, {1366, 796}},   // by width: 1120 x 1366 / 1920 = 796.8
        {{1920, 1120}, {2560, 1000}, {1714, 1000}},  // only the height is short
        {{1280, 1064}, {1024, 600}, {721, 600}},     // 1280 x 600 / 1064 = 721.8
        {{1366, 808}, {1365, 808}, {1365, 807}},     // one pixel short
        {{16384, 16424}, {100, 50}, {49, 50}},       // the largest frame, a tiny area
        {{3, 16424}, {1000, 700}, {1, 700}},         // never narrower than a pixel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.width() << "x" << c.frame.height() << " in "
                                        << c.available.width() << "x" << c.available.height());
        CanvasView view = MakeView(c.frame, c.available);
        ASSERT_TRUE(view.IsScaled());
        EXPECT_EQ(view.WidgetSize(), c.widget);
        EXPECT_LE(view.WidgetSize().width(), c.available.width());
        EXPECT_LE(view.WidgetSize().height(), c.available.height());
        const QSize widget = view.WidgetSize();
        const QPoint corner = view.ToClient(QPoint(widget.width() - 1, widget.height() - 1));
        EXPECT_LT(corner.x(), c.frame.width());
        EXPECT_LT(corner.y(), c.frame.height());
        if (c.frame.width() > 3) {
            ExpectAxisCovered(view, true);
        }
        ExpectAxisCovered(view, false);
    }
}

TEST(CanvasView, TheKeySwitchesToScrollingAtFullSizeAndBack) {
    CanvasView view = MakeView(QSize(1920, 1120), QSize(1366, 768));
    // The pointer over client (1021, 584) stays over it at 100 %.
    ASSERT_TRUE(view.ToggleFit(QPoint(700, 400)));
    EXPECT_FALSE(view.IsScaled());
    EXPECT_EQ(view.WidgetSize(), QSize(1366, 768));
    EXPECT_EQ(view.ScrollOffset(), QPoint(321, 184));
    EXPECT_EQ(view.ToClient(QPoint(700, 400)), QPoint(1021, 584));

    // The wheel: a notch down, a notch sideways (or down with the modifier), clamped
    // at the frame's edges.
    EXPECT_TRUE(view.Wheel(QPoint(0, -120), false));
    EXPECT_EQ(view.ScrollOffset(), QPoint(321, 184 + CanvasView::kWheelStep));
    EXPECT_TRUE(view.Wheel(QPoint(0, -120), true));
    EXPECT_EQ(view.ScrollOffset(), QPoint(321 + CanvasView::kWheelStep, 264));
    EXPECT_TRUE(view.Wheel(QPoint(120, 0), false));
    EXPECT_EQ(view.ScrollOffset(), QPoint(321, 264));
    EXPECT_TRUE(view.ScrollBy(QPoint(10000, 10000)));
    EXPECT_EQ(view.ScrollOffset(), QPoint(1920 - 1366, 1120 - 768));
    EXPECT_EQ(view.ToClient(QPoint(1365, 767)), QPoint(1919, 1119));
    EXPECT_FALSE(view.ScrollBy(QPoint(5, 5)));
    EXPECT_TRUE(view.ScrollBy(QPoint(-100000, -100000)));
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));

    // Near a corner the offset stops at the frame's edge.
    ASSERT_TRUE(view.ToggleFit(QPoint(0, 0)));
    EXPECT_TRUE(view.IsScaled());
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
    ASSERT_TRUE(view.ToggleFit(QPoint(1315, 767)));
    EXPECT_EQ(view.ScrollOffset(), QPoint(1920 - 1366, 1120 - 768));
}

TEST(CanvasView, AnotherResolutionKeepsTheChoiceAndClampsTheScroll) {
    CanvasView view = MakeView(QSize(1920, 1120), QSize(1366, 768));
    view.ToggleFit(QPoint(0, 0));
    view.ScrollBy(QPoint(500, 300));
    // 1600 x 940: less to scroll.
    view.SetFrameSize(QSize(1600, 940));
    EXPECT_FALSE(view.IsScaled());
    EXPECT_EQ(view.WidgetSize(), QSize(1366, 768));
    EXPECT_EQ(view.ScrollOffset(), QPoint(1600 - 1366, 940 - 768));
    // 1280 x 728 fits exactly: 100 %, nothing scrolled.
    view.SetFrameSize(QSize(1280, 768));
    EXPECT_TRUE(view.Fits());
    EXPECT_EQ(view.WidgetSize(), QSize(1280, 768));
    EXPECT_EQ(view.ToClient(QPoint(5, 5)), QPoint(5, 5));
    // Too large again: still at 100 %, from the top left.
    view.SetFrameSize(QSize(1920, 1120));
    EXPECT_FALSE(view.IsScaled());
    EXPECT_EQ(view.ScrollOffset(), QPoint(0, 0));
}

TEST(CanvasView, TheScaledFrameIsSmoothAndOfTheWidgetsSize) {
    CanvasView view = MakeView(QSize(400, 200), QSize(200, 200));
    QImage frame(400, 200, QImage::Format_RGB32);
    // One-pixel black and white columns average to grey, where a nearest-pixel
    // scaling would keep one of them.
    for (int x = 0; x < frame.width(); ++x) {
        for (int y = 0; y < frame.height(); ++y) {
            frame.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
        }
    }
    const QImage scaled = view.ScaledFrame(frame);
    ASSERT_EQ(scaled.size(), QSize(200, 100));
    const QColor middle = scaled.pixelColor(100, 50);
    EXPECT_GT(middle.red(), 60);
    EXPECT_LT(middle.red(), 195);
    EXPECT_TRUE(view.ScaledFrame(QImage()).isNull());
}

// The marks painted over the shown frame land on the items they mark: a client
// point taken to the widget comes back to itself, fitted, scrolled or at 100 %.
TEST(CanvasView, MarksMapOntoTheWidgetWhereThePointerMapsBack) {
    CanvasView view = MakeView(QSize(1920, 1120), QSize(1366, 768));
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 1) {
            ASSERT_TRUE(view.ToggleFit(QPoint(600, 400)));  // 100 %, scrolled
        } else if (pass == 2) {
            view.SetAvailableSize(QSize(2560, 1400));  // fits
        }
        for (const QPoint client : {QPoint(0, 40), QPoint(777, 555), QPoint(1919, 1119)}) {
            const QPoint back = view.ToClient(view.ClientToWidget().map(QPointF(client)).toPoint());
            EXPECT_LE((back - client).manhattanLength(), 2) << pass << " " << client.x();
        }
    }
}

TEST(CanvasView, AtFullSizeTheStripStaysAndTheScrollBarsTakeTheirRoom) {
    CanvasView view = MakeView(QSize(1920, 1120), QSize(1366, 768));
    view.SetFixedStrip(40);
    view.SetScrollBarExtent(16);
    EXPECT_FALSE(view.NeedsHorizontalBar());  // fitted: no bars, no fixed strip
    EXPECT_EQ(view.fixedStrip(), 0);
    ASSERT_TRUE(view.ToggleFit(QPoint(0, 0)));
    EXPECT_TRUE(view.NeedsHorizontalBar());
    EXPECT_TRUE(view.NeedsVerticalBar());
    EXPECT_EQ(view.ViewportSize(), QSize(1350, 752));
    EXPECT_EQ(view.MaxScrollOffset(), QPoint(1920 - 1350, 1120 - 752));
    ASSERT_TRUE(view.ScrollTo(QPoint(100000, 100000)));
    EXPECT_EQ(view.ScrollOffset(), view.MaxScrollOffset());
    // The bottom right pixel of the canvas is in view; the strip's points stay
    // themselves (its buttons work whatever is scrolled), and marks on the canvas
    // land where the pointer maps back.
    EXPECT_EQ(view.ToClient(QPoint(1349, 751)), QPoint(1919, 1119));
    EXPECT_EQ(view.ToClient(QPoint(20, 10)), QPoint(20, 10));
    EXPECT_EQ(view.ClientToWidget().map(QPoint(1919, 1119)), QPoint(1349, 751));
    EXPECT_EQ(view.StripToWidget().map(QPoint(20, 10)), QPoint(20, 10));

    // Only one side too large: one bar, and the other side loses its room to it.
    view.SetFrameSize(QSize(1300, 1120));
    EXPECT_TRUE(view.NeedsVerticalBar());
    EXPECT_FALSE(view.NeedsHorizontalBar());
    EXPECT_EQ(view.MaxScrollOffset(), QPoint(0, 1120 - 768));
    view.SetFrameSize(QSize(1360, 1120));  // 1360 + 16 no longer fits across
    EXPECT_TRUE(view.NeedsHorizontalBar());
}

}  // namespace
}  // namespace vodirev
