#include "imaging/scale_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// This file is compiled with -ffp-contract=off: every product and sum below must be
// rounded to single precision on its own and in the stated order, or output bytes
// change. Zero weights stand in for skipped terms: adding +0 to a non-negative sum
// leaves it bit for bit unchanged, so the loops need no per-pixel branches.

namespace vodirev {
namespace {

typedef float v4f __attribute__((vector_size(16)));

const float kThreshold = 0.0001f;
// Same ceiling as the decoder: no thumbnail is ever this large.
const int64_t kMaxPixels = 100'000'000;

struct Step {
    float w0;
    float w1;
    // The step reaches the next pixel (e >= N). Testing |w1| > 0.0001 says the same
    // except for a straddling w1 of at most 0.0001, which needs a side of 10000
    // pixels or more: that would stall the index for the rest of the axis (black or
    // saturated rows and columns), so such a step advances and drops its tiny part.
    bool advance;
};

// Weight table for one axis: N steps over M pixels on the other side. The
// remainder b stays an integer; every value is below 2^17, so the single-precision
// divisions see exactly the operands they would see with a float remainder.
std::vector<Step> BuildWeights(int n, int m, bool shrinking) {
    std::vector<Step> table(n);
    const float d = static_cast<float>(shrinking ? n : m);
    int b = 0;
    for (int i = 0; i < n; ++i) {
        const int e = b + m;
        if (e > n) {
            table[i].w0 = static_cast<float>(n - b) / d;
            table[i].w1 = static_cast<float>(e - n) / d;
            table[i].advance = true;
            b = e - n;
        } else {
            table[i].w0 = shrinking ? static_cast<float>(m) / static_cast<float>(n) : 1.0f;
            if (e == n) {
                table[i].w1 = -1.0f;
                table[i].advance = true;
                b = 0;
            } else {
                table[i].w1 = 0.0f;
                table[i].advance = false;
                b = e;
            }
        }
    }
    return table;
}

// The second weight only when it counts; 0 otherwise (also for the -1 marker).
float Second(const Step& s) {
    return s.w1 > kThreshold ? s.w1 : 0.0f;
}

v4f Splat(float f) {
    return v4f{f, f, f, f};
}

// One pixel as (blue, green, red, alpha) floats; alpha is carried but never used.
inline v4f LoadPixel(const uint32_t* row, int x) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i v = _mm_cvtsi32_si128(static_cast<int>(row[x]));
    v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(v, zero), zero);
    return reinterpret_cast<v4f>(_mm_cvtepi32_ps(v));
#else
    const uint32_t p = row[x];
    return v4f{static_cast<float>(p & 0xFF), static_cast<float>((p >> 8) & 0xFF),
               static_cast<float>((p >> 16) & 0xFF), 0.0f};
#endif
}

inline uint8_t ToByte(float v) {
    const int i = static_cast<int>(v);  // truncation toward zero
    return static_cast<uint8_t>(i < 0 ? 0 : (i > 255 ? 255 : i));
}

// Truncates each channel toward zero and stores it as a byte (saturating, though
// the weights of every destination pixel add up to 1).
inline uint32_t StorePixel(v4f v) {
#if defined(__SSE2__)
    __m128i i = _mm_cvttps_epi32(reinterpret_cast<__m128>(v));
    i = _mm_packus_epi16(_mm_packs_epi32(i, i), i);
    return (static_cast<uint32_t>(_mm_cvtsi128_si32(i)) & 0x00FFFFFFu) | 0xFF000000u;
#else
    return 0xFF000000u | (uint32_t(ToByte(v[2])) << 16) | (uint32_t(ToByte(v[1])) << 8) |
           ToByte(v[0]);
#endif
}

const uint32_t* SourceRow(const QImage& image, int y) {
    return reinterpret_cast<const uint32_t*>(image.constScanLine(y));
}

uint32_t* DestRow(QImage& image, int y) {
    return reinterpret_cast<uint32_t*>(image.scanLine(y));
}

// Shrinking: every destination column is an accumulator cell that receives a fixed
// sequence of (source column, column weight) adds on every source row. Cells are
// independent, so four of them are advanced together to overlap their add chains;
// within a cell the adds keep the order of the source columns.
const int kLanes = 4;

struct SlotGroup {
    int32_t index[kLanes];
    v4f weight[kLanes];  // the column weight in all four channels
};

struct ColumnPlan {
    std::vector<SlotGroup> entries;  // per group, its slots in order
    std::vector<int> groupStart;     // groups + 1 offsets into slots
};

ColumnPlan PlanColumns(int w, int W) {
    const std::vector<Step> cols = BuildWeights(w, W, true);
    std::vector<std::vector<std::pair<int, float>>> cells(W);
    int x = 0;
    for (int sx = 0; sx < w; ++sx) {
        // x and x + 1 stay inside the row: x counts the boundaries passed, and the
        // last column always ends exactly on the last boundary. Checked anyway.
        if (x < W) {
            cells[x].emplace_back(sx, cols[sx].w0);
        }
        if (Second(cols[sx]) > 0.0f && x + 1 < W) {
            cells[x + 1].emplace_back(sx, cols[sx].w1);
        }
        if (cols[sx].advance) {
            ++x;
        }
    }
    ColumnPlan plan;
    const int groups = (W + kLanes - 1) / kLanes;
    plan.groupStart.push_back(0);
    for (int g = 0; g < groups; ++g) {
        size_t length = 0;
        for (int lane = 0; lane < kLanes; ++lane) {
            const int cell = g * kLanes + lane;
            if (cell < W) {
                length = std::max(length, cells[cell].size());
            }
        }
        for (size_t j = 0; j < length; ++j) {
            SlotGroup slot{};
            for (int lane = 0; lane < kLanes; ++lane) {
                const int cell = g * kLanes + lane;
                // Padding adds 0 x pixel 0 to the cell: no change.
                float weight = 0.0f;
                if (cell < W && j < cells[cell].size()) {
                    slot.index[lane] = cells[cell][j].first;
                    weight = cells[cell][j].second;
                }
                slot.weight[lane] = Splat(weight);
            }
            plan.entries.push_back(slot);
        }
        plan.groupStart.push_back(static_cast<int>(plan.entries.size()));
    }
    return plan;
}

// Adds one source row into the current accumulator row and, when r1 counts, into the
// next one: current[x] += (r0 * c) * pixel, next[x] += (r1 * c) * pixel.
template <bool kWithNext>
void AccumulateRow(const ColumnPlan& plan, const uint32_t* row, float r0, float r1, v4f* cur,
                   v4f* next) {
    const v4f vr0 = Splat(r0);
    const v4f vr1 = Splat(r1);
    const int groups = static_cast<int>(plan.groupStart.size()) - 1;
    for (int g = 0; g < groups; ++g) {
        v4f a0 = cur[g * 4 + 0], a1 = cur[g * 4 + 1], a2 = cur[g * 4 + 2], a3 = cur[g * 4 + 3];
        v4f b0{}, b1{}, b2{}, b3{};
        if (kWithNext) {
            b0 = next[g * 4 + 0], b1 = next[g * 4 + 1], b2 = next[g * 4 + 2];
            b3 = next[g * 4 + 3];
        }
        const SlotGroup* s = plan.entries.data() + plan.groupStart[g];
        const SlotGroup* end = plan.entries.data() + plan.groupStart[g + 1];
        for (; s != end; ++s) {
            const v4f p0 = LoadPixel(row, s->index[0]);
            const v4f p1 = LoadPixel(row, s->index[1]);
            const v4f p2 = LoadPixel(row, s->index[2]);
            const v4f p3 = LoadPixel(row, s->index[3]);
            a0 += (vr0 * s->weight[0]) * p0;
            a1 += (vr0 * s->weight[1]) * p1;
            a2 += (vr0 * s->weight[2]) * p2;
            a3 += (vr0 * s->weight[3]) * p3;
            if (kWithNext) {
                b0 += (vr1 * s->weight[0]) * p0;
                b1 += (vr1 * s->weight[1]) * p1;
                b2 += (vr1 * s->weight[2]) * p2;
                b3 += (vr1 * s->weight[3]) * p3;
            }
        }
        cur[g * 4 + 0] = a0, cur[g * 4 + 1] = a1, cur[g * 4 + 2] = a2, cur[g * 4 + 3] = a3;
        if (kWithNext) {
            next[g * 4 + 0] = b0, next[g * 4 + 1] = b1, next[g * 4 + 2] = b2;
            next[g * 4 + 3] = b3;
        }
    }
}

// Rows are taken bottom-up, as they lie in the working layout: the source row
// sequence and the destination row sequence both start at the bottom of the picture.
void Shrink(const QImage& src, QImage& dst) {
    const int w = src.width(), h = src.height();
    const int W = dst.width(), H = dst.height();
    const ColumnPlan plan = PlanColumns(w, W);
    const std::vector<Step> rows = BuildWeights(h, H, true);
    const size_t cells = (plan.groupStart.size() - 1) * kLanes;
    std::vector<v4f> accA(cells, v4f{}), accB(cells, v4f{});
    v4f* cur = accA.data();
    v4f* next = accB.data();
    int written = 0;
    for (int sy = 0; sy < h; ++sy) {
        const uint32_t* row = SourceRow(src, h - 1 - sy);
        const float r0 = rows[sy].w0;
        const float r1 = Second(rows[sy]);
        if (r1 > 0.0f) {
            AccumulateRow<true>(plan, row, r0, r1, cur, next);
        } else {
            AccumulateRow<false>(plan, row, r0, r1, cur, next);
        }
        if (rows[sy].advance) {
            // Never more than H rows: each row boundary is crossed once.
            if (written < H) {
                uint32_t* out = DestRow(dst, H - 1 - written);
                for (int x = 0; x < W; ++x) {
                    out[x] = StorePixel(cur[x]);
                }
            }
            ++written;
            std::fill(cur, cur + cells, v4f{});
            std::swap(cur, next);
        }
    }
}

struct ColumnStep {
    int x;   // source column
    int x1;  // the next source column, clamped to the last one
    float c0;
    float c1;  // 0 unless the second column counts
};

// Enlarging: each destination pixel is
//   r0*c0*S(x,y) + [c1] r0*c1*S(x+1,y) + [r1] (r1*c0*S(x,y+1) + [c1] r1*c1*S(x+1,y+1)).
// A second column or row past the last one is never weighted (the tables end on the
// last boundary); its index is clamped to the last pixel so that the zero-weighted
// read stays inside the picture.
void Enlarge(const QImage& src, QImage& dst) {
    const int w = src.width(), h = src.height();
    const int W = dst.width(), H = dst.height();
    const std::vector<Step> colTable = BuildWeights(W, w, false);
    const std::vector<Step> rowTable = BuildWeights(H, h, false);
    std::vector<ColumnStep> cols(W);
    int x = 0;
    for (int dx = 0; dx < W; ++dx) {
        const int cx = std::min(x, w - 1);
        cols[dx] = {cx, std::min(cx + 1, w - 1), colTable[dx].w0, Second(colTable[dx])};
        if (colTable[dx].advance) {
            ++x;
        }
    }
    int y = 0;
    for (int dy = 0; dy < H; ++dy) {
        const int sy = std::min(y, h - 1);
        const int sy1 = std::min(sy + 1, h - 1);
        const uint32_t* row0 = SourceRow(src, h - 1 - sy);
        const uint32_t* row1 = SourceRow(src, h - 1 - sy1);
        const v4f r0 = Splat(rowTable[dy].w0);
        const v4f r1 = Splat(Second(rowTable[dy]));
        uint32_t* out = DestRow(dst, H - 1 - dy);
        for (int dx = 0; dx < W; ++dx) {
            const ColumnStep& c = cols[dx];
            const v4f c0 = Splat(c.c0);
            const v4f c1 = Splat(c.c1);
            const v4f upper = (r0 * c0) * LoadPixel(row0, c.x) + (r0 * c1) * LoadPixel(row0, c.x1);
            const v4f lower = (r1 * c0) * LoadPixel(row1, c.x) + (r1 * c1) * LoadPixel(row1, c.x1);
            out[dx] = StorePixel(upper + lower);
        }
        if (rowTable[dy].advance) {
            ++y;
        }
    }
}

}  // namespace

QImage ScaleBitmap(const QImage& source, int width, int height) {
    // Sizes are 16-bit in the working layout; anything outside 1..65535 has no
    // faithful result and is refused rather than wrapped.
    if (source.isNull() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
        return {};
    }
    const int w = source.width();
    const int h = source.height();
    if (w > 0xFFFF || h > 0xFFFF || int64_t(width) * height > kMaxPixels) {
        return {};
    }
    if ((width < w && h < height) || (w < width && height < h)) {
        return {};  // one side grows while the other shrinks
    }
    // The resampler reads blue, green and red and ignores alpha, so 32-bit pictures
    // are read in place; other formats are converted once (unpremultiplied).
    QImage src = source;
    if (src.format() != QImage::Format_RGB32 && src.format() != QImage::Format_ARGB32) {
        src = source.convertToFormat(QImage::Format_ARGB32);
        if (src.isNull()) {
            return {};
        }
    }
    QImage dst(width, height, QImage::Format_RGB32);
    if (dst.isNull()) {
        return {};
    }
    if (w < width || h < height) {
        Enlarge(src, dst);
    } else {
        Shrink(src, dst);
    }
    return dst;
}

}  // namespace vodirev
