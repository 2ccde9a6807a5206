#include "imaging/scale_bitmap.h"

#include "imaging/scale_bitmap_internal.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "scale_bitmap_reference.h"

namespace vodirev {
namespace {

using test::ScaleBitmapReference;

QImage RandomImage(int w, int h, std::mt19937& rng, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, QImage::Format_ARGB32);
    std::uniform_int_distribution<uint32_t> dist;
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x] = dist(rng) | (format == QImage::Format_RGB32 ? 0xFF000000u : 0u);
        }
    }
    return format == QImage::Format_ARGB32 ? image : image.convertToFormat(format);
}

QImage Uniform(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A one-row image whose blue, green and red are the given values.
QImage GreyRow(const std::vector<int>& values) {
    QImage image(static_cast<int>(values.size()), 1, QImage::Format_RGB32);
    for (size_t i = 0; i < values.size(); ++i) {
        image.setPixel(static_cast<int>(i), 0, qRgb(values[i], values[i], values[i]));
    }
    return image;
}

std::vector<int> BlueRow(const QImage& image) {
    std::vector<int> out;
    for (int x = 0; x < image.width(); ++x) {
        out.push_back(qBlue(image.pixel(x, 0)));
    }
    return out;
}

// Compares the pixels and reports the first difference.
::testing::AssertionResult SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format()) {
        return ::testing::AssertionFailure() << "size or format differs";
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << "," << y << ") " << std::hex << a.pixel(x, y)
                       << " != " << b.pixel(x, y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(ScaleBitmapTest, RefusesMixedGrowingAndShrinkingAndBadSizes) {
    const QImage wide = Uniform(100, 50, qRgb(1, 2, 3));
    EXPECT_TRUE(ScaleBitmap(wide, 64, 64).isNull());
    EXPECT_TRUE(ScaleBitmap(Uniform(20, 10, qRgb(1, 2, 3)), 16, 16).isNull());
    EXPECT_TRUE(ScaleBitmap(Uniform(10, 20, qRgb(1, 2, 3)), 16, 16).isNull());
    EXPECT_EQ(ScaleBitmap(Uniform(10, 10, qRgb(1, 2, 3)), 16, 16).size(), QSize(16, 16));
    EXPECT_TRUE(ScaleBitmap(QImage(), 16, 16).isNull());
    EXPECT_TRUE(ScaleBitmap(wide, 0, 16).isNull());
    EXPECT_TRUE(ScaleBitmap(wide, 16, -1).isNull());
    // Sizes are 16-bit in the working layout: 65536 + 16 must not wrap to 16.
    EXPECT_TRUE(ScaleBitmap(wide, 65536 + 16, 16).isNull());
}

TEST(ScaleBitmapTest, EqualSizeIsAnExactOpaqueCopyAndSourceIsUntouched) {
    std::mt19937 rng(1);
    const QImage source = RandomImage(128, 128, rng, QImage::Format_ARGB32);
    const QImage before = source.copy();
    const QImage result = ScaleBitmap(source, 128, 128);
    ASSERT_EQ(result.format(), QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            // Alpha is ignored, colour taken as stored (not premultiplied).
            ASSERT_EQ(result.pixel(x, y), source.pixel(x, y) | 0xFF000000u);
        }
    }
    EXPECT_TRUE(SamePixels(source, before));
}

TEST(ScaleBitmapTest, DoublingMakesTwoByTwoBlocks) {
    std::mt19937 rng(2);
    const QImage source = RandomImage(32, 32, rng);
    const QImage result = ScaleBitmap(source, 64, 64);
    ASSERT_EQ(result.size(), QSize(64, 64));
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(result.pixel(x, y), source.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(ScaleBitmapTest, HalvingAveragesTwoByTwoBlocksTruncated) {
    std::mt19937 rng(3);
    QImage source = RandomImage(256, 256, rng);
    // The documented block: 10, 11, 11, 11 gives 10 (10.75 truncated).
    source.setPixel(0, 0, qRgb(10, 10, 10));
    source.setPixel(1, 0, qRgb(11, 11, 11));
    source.setPixel(0, 1, qRgb(11, 11, 11));
    source.setPixel(1, 1, qRgb(11, 11, 11));
    const QImage result = ScaleBitmap(source, 128, 128);
    EXPECT_EQ(result.pixel(0, 0), qRgb(10, 10, 10));
    auto channel = [&](int x, int y, int shift) { return (source.pixel(x, y) >> shift) & 0xFF; };
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            for (int shift : {0, 8, 16}) {
                const uint32_t sum =
                    channel(2 * x, 2 * y, shift) + channel(2 * x + 1, 2 * y, shift) +
                    channel(2 * x, 2 * y + 1, shift) + channel(2 * x + 1, 2 * y + 1, shift);
                ASSERT_EQ((result.pixel(x, y) >> shift) & 0xFF, sum / 4) << x << "," << y;
            }
        }
    }
}

TEST(ScaleBitmapTest, ThreePixelsToTwoUseThirds) {
    // 2/3*100 + 1/3*201 = 133.67 and 1/3*201 + 2/3*50 = 100.33: truncated, not rounded.
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow({100, 201, 50}), 2, 1)), (std::vector<int>{133, 100}));
    // Weights belong to the right pixels: a lone bright pixel at either end.
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow({255, 0, 0}), 2, 1)), (std::vector<int>{170, 0}));
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow({0, 0, 255}), 2, 1)), (std::vector<int>{0, 170}));
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow({0, 255, 0}), 2, 1)), (std::vector<int>{85, 85}));
}

TEST(ScaleBitmapTest, SinglePrecisionTruncationIsKept) {
    // These bytes come from single-precision weights and sums truncated toward zero.
    // Double precision gives 6 for the first case and 3 for the second; rounding
    // gives 3 for the second and all 11 for the third.
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow({7, 7, 7}), 1, 1)), (std::vector<int>{7}));
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow(std::vector<int>(9, 3)), 1, 1)), (std::vector<int>{2}));
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow(std::vector<int>(6, 11)), 7, 1)),
              (std::vector<int>{11, 10, 11, 11, 11, 10, 11}));
    EXPECT_EQ(BlueRow(ScaleBitmap(GreyRow(std::vector<int>(6, 1)), 7, 1)),
              (std::vector<int>(7, 1)));
}

TEST(ScaleBitmapTest, MatchesTheLiteralResamplerOnRandomSizes) {
    std::mt19937 rng(5);
    std::vector<std::pair<QSize, QSize>> cases = {
        {{1, 1}, {1, 1}},     {{1, 1}, {7, 1}},       {{1, 1}, {1, 9}},
        {{1, 1}, {13, 11}},   {{7, 1}, {1, 1}},       {{1, 13}, {1, 1}},
        {{97, 89}, {13, 7}},  {{13, 7}, {97, 89}},    {{64, 64}, {16, 16}},
        {{64, 64}, {64, 17}}, {{17, 64}, {17, 64}},   {{101, 103}, {101, 3}},
        {{3, 101}, {3, 103}}, {{640, 480}, {64, 64}}, {{31, 37}, {128, 128}},
        {{255, 3}, {254, 2}}, {{2, 2}, {3, 3}},       {{5, 5}, {4, 4}},
        {{10, 10}, {16, 16}}, {{700, 500}, {61, 41}}, {{1200, 300}, {128, 7}},
    };
    std::uniform_int_distribution<int> side(1, 150);
    for (int i = 0; i < 120; ++i) {
        QSize a(side(rng), side(rng));
        QSize b(std::max(1, a.width() * side(rng) / 150),
                std::max(1, a.height() * side(rng) / 150));
        if (i % 2 == 0) {
            std::swap(a, b);  // enlarge half of them
        }
        cases.emplace_back(a, b);
    }
    for (const auto& [from, to] : cases) {
        const QImage source = RandomImage(from.width(), from.height(), rng);
        const QImage literal = ScaleBitmapReference(source, to.width(), to.height());
        // The loops picked for this processor and the baseline ones.
        for (const QImage& fast : {ScaleBitmap(source, to.width(), to.height()),
                                   detail::ScaleBitmapBaseline(source, to.width(), to.height())}) {
            ASSERT_FALSE(fast.isNull()) << from.width() << "x" << from.height();
            ASSERT_TRUE(SamePixels(fast, literal)) << from.width() << "x" << from.height() << " -> "
                                                   << to.width() << "x" << to.height();
        }
    }
}

TEST(ScaleBitmapTest, OtherPixelFormatsAreReadAsTheirColours) {
    std::mt19937 rng(6);
    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                                  QImage::Format_RGB888, QImage::Format_Indexed8}) {
        const QImage source = RandomImage(37, 23, rng, format);
        ASSERT_TRUE(SamePixels(ScaleBitmap(source, 11, 9), ScaleBitmapReference(source, 11, 9)))
            << format;
        ASSERT_TRUE(SamePixels(ScaleBitmap(source, 40, 50), ScaleBitmapReference(source, 40, 50)))
            << format;
    }
}

TEST(ScaleBitmapTest, RowsAreSummedFromTheBottomOfThePicture) {
    // The working layout is bottom-up, so the rows of a column are added from the
    // bottom: 116 here, where adding from the top gives 115.
    QImage column(1, 5, QImage::Format_RGB32);
    const int values[] = {87, 53, 103, 214, 123};
    for (int y = 0; y < 5; ++y) {
        column.setPixel(0, y, qRgb(values[y], values[y], values[y]));
    }
    EXPECT_EQ(ScaleBitmap(column, 1, 1).pixel(0, 0), qRgb(116, 116, 116));
}

TEST(ScaleBitmapTest, HugeSidesWithTinyStraddleWeightsStayWhole) {
    // From 10000 pixels on a side a straddling weight can be 0.0001 or less. It is
    // dropped, but the step still moves on: no black, saturated or missing rows and
    // columns, nothing read or written outside the buffers.
    const std::pair<QSize, QSize> cases[] = {
        {{12001, 1}, {128, 1}},
        {{1, 20011}, {1, 7}},
        {{10007, 2}, {10009, 3}},
        {{2, 10007}, {3, 10009}},
    };
    for (const auto& [from, to] : cases) {
        const QImage source = Uniform(from.width(), from.height(), qRgb(200, 200, 200));
        const QImage result = ScaleBitmap(source, to.width(), to.height());
        ASSERT_EQ(result.size(), to);
        ASSERT_TRUE(SamePixels(result, ScaleBitmapReference(source, to.width(), to.height())));
        for (int y = 0; y < to.height(); ++y) {
            for (int x = 0; x < to.width(); ++x) {
                const int blue = qBlue(result.pixel(x, y));
                ASSERT_TRUE(blue == 199 || blue == 200)
                    << blue << " at " << x << "," << y << " for " << from.width() << "x"
                    << from.height() << " -> " << to.width() << "x" << to.height();
            }
        }
    }
}

}  // namespace
}  // namespace vodirev
