#include "scale_bitmap_reference.h"

#include <cstdint>
#include <vector>

namespace vodirev::test {
namespace {

const float kThreshold = 0.0001f;

struct Weight {
    float w0;
    float w1;
    // The step reaches the next pixel (e >= N). Testing |w1| > 0.0001 instead says the
    // same except for a straddling w1 of at most 0.0001 (a side of 10000 pixels or
    // more): that would stall the index for the rest of the axis and leave black or
    // saturated rows and columns, so such a step advances and drops its tiny part.
    bool advance;
};

// One weight pair per step; the remainder is kept in single precision as the
// original arithmetic may have done (all values are small integers, so exact).
std::vector<Weight> BuildTable(int n, int m, bool shrinking) {
    std::vector<Weight> table(n);
    float b = 0.0f;
    const float N = static_cast<float>(n);
    const float M = static_cast<float>(m);
    const float D = shrinking ? N : M;
    for (int i = 0; i < n; ++i) {
        const float e = b + M;
        if (e > N) {
            table[i].w0 = (N - b) / D;
            table[i].w1 = (e - N) / D;
            table[i].advance = true;
            b = e - N;
        } else {
            table[i].w0 = shrinking ? M / N : 1.0f;
            if (e == N) {
                table[i].w1 = -1.0f;
                table[i].advance = true;
                b = 0.0f;
            } else {
                table[i].w1 = 0.0f;
                table[i].advance = false;
                b = e;
            }
        }
    }
    return table;
}

int Stride24(int w) {
    return (w * 3 + 3) & ~3;
}

uint8_t ToByte(float v) {
    const int i = static_cast<int>(v);  // truncation toward zero
    return static_cast<uint8_t>(i < 0 ? 0 : (i > 255 ? 255 : i));
}

// The working layout: B, G, R per pixel, rows bottom-up, padded to 4 bytes.
std::vector<uint8_t> ToWorkingLayout(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    std::vector<uint8_t> bits(static_cast<size_t>(Stride24(w)) * h, 0);
    for (int row = 0; row < h; ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(h - 1 - row));
        uint8_t* out = bits.data() + static_cast<size_t>(row) * Stride24(w);
        for (int x = 0; x < w; ++x) {
            out[x * 3 + 0] = static_cast<uint8_t>(qBlue(line[x]));
            out[x * 3 + 1] = static_cast<uint8_t>(qGreen(line[x]));
            out[x * 3 + 2] = static_cast<uint8_t>(qRed(line[x]));
        }
    }
    return bits;
}

QImage FromWorkingLayout(const std::vector<uint8_t>& bits, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = bits.data() + static_cast<size_t>(h - 1 - y) * Stride24(w);
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x] = qRgb(in[x * 3 + 2], in[x * 3 + 1], in[x * 3 + 0]);
        }
    }
    return image;
}

std::vector<uint8_t> Shrink(const std::vector<uint8_t>& src, int w, int h, int W, int H) {
    std::vector<uint8_t> dst(static_cast<size_t>(Stride24(W)) * H, 0);
    const std::vector<Weight> cols = BuildTable(w, W, true);
    const std::vector<Weight> rows = BuildTable(h, H, true);
    std::vector<float> acc[2] = {std::vector<float>(W * 3, 0.0f), std::vector<float>(W * 3, 0.0f)};
    int current = 0;
    int outRow = 0;
    for (int sy = 0; sy < h; ++sy) {
        const float r0 = rows[sy].w0;
        const float r1 = rows[sy].w1;
        std::vector<float>& cur = acc[current];
        std::vector<float>& next = acc[1 - current];
        const uint8_t* line = src.data() + static_cast<size_t>(sy) * Stride24(w);
        int x = 0;
        for (int sx = 0; sx < w; ++sx) {
            const float c0 = cols[sx].w0;
            const float c1 = cols[sx].w1;
            for (int ch = 0; ch < 3; ++ch) {
                const uint8_t pixel = line[sx * 3 + ch];
                cur[x * 3 + ch] += r0 * c0 * pixel;
                if (c1 > kThreshold && x + 1 < W) {
                    cur[(x + 1) * 3 + ch] += r0 * c1 * pixel;
                }
                if (r1 > kThreshold) {
                    next[x * 3 + ch] += r1 * c0 * pixel;
                    if (c1 > kThreshold && x + 1 < W) {
                        next[(x + 1) * 3 + ch] += r1 * c1 * pixel;
                    }
                }
            }
            if (cols[sx].advance) {
                ++x;
            }
        }
        if (rows[sy].advance) {
            if (outRow < H) {
                uint8_t* out = dst.data() + static_cast<size_t>(outRow) * Stride24(W);
                for (int i = 0; i < W * 3; ++i) {
                    out[i] = ToByte(cur[i]);
                }
            }
            ++outRow;
            std::fill(cur.begin(), cur.end(), 0.0f);
            current = 1 - current;
        }
    }
    return dst;
}

std::vector<uint8_t> Enlarge(const std::vector<uint8_t>& src, int w, int h, int W, int H) {
    std::vector<uint8_t> dst(static_cast<size_t>(Stride24(W)) * H, 0);
    const std::vector<Weight> cols = BuildTable(W, w, false);
    const std::vector<Weight> rows = BuildTable(H, h, false);
    auto S = [&](int x, int y, int ch) -> uint8_t {
        // Never read past the picture: a step past the last pixel reads the last one.
        x = x < w ? x : w - 1;
        y = y < h ? y : h - 1;
        return src[static_cast<size_t>(y) * Stride24(w) + x * 3 + ch];
    };
    int y = 0;
    for (int dy = 0; dy < H; ++dy) {
        const float r0 = rows[dy].w0;
        const float r1 = rows[dy].w1;
        uint8_t* out = dst.data() + static_cast<size_t>(dy) * Stride24(W);
        int x = 0;
        for (int dx = 0; dx < W; ++dx) {
            const float c0 = cols[dx].w0;
            const float c1 = cols[dx].w1;
            for (int ch = 0; ch < 3; ++ch) {
                float v = r0 * c0 * S(x, y, ch);
                if (c1 > kThreshold) {
                    v = v + r0 * c1 * S(x + 1, y, ch);
                }
                if (r1 > kThreshold) {
                    float lower = r1 * c0 * S(x, y + 1, ch);
                    if (c1 > kThreshold) {
                        lower = lower + r1 * c1 * S(x + 1, y + 1, ch);
                    }
                    v = v + lower;
                }
                out[dx * 3 + ch] = ToByte(v);
            }
            if (cols[dx].advance) {
                ++x;
            }
        }
        if (rows[dy].advance) {
            ++y;
        }
    }
    return dst;
}

}  // namespace

QImage ScaleBitmapReference(const QImage& source, int width, int height) {
    if (source.isNull() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        return {};
    }
    const int w = source.width();
    const int h = source.height();
    const int W = static_cast<uint16_t>(width);
    const int H = static_cast<uint16_t>(height);
    if ((W < w && h < H) || (w < W && H < h)) {
        return {};
    }
    const std::vector<uint8_t> src = ToWorkingLayout(source);
    const std::vector<uint8_t> dst =
        (w < W || h < H) ? Enlarge(src, w, h, W, H) : Shrink(src, w, h, W, H);
    return FromWorkingLayout(dst, W, H);
}

}  // namespace vodirev::test
