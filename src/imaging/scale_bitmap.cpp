#include "imaging/scale_bitmap.h"

#include "imaging/scale_bitmap_internal.h"
#include "imaging/shrink_kernel.h"

#include <algorithm>
#include <cstdint>
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

using detail::v4f;

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
void BuildWeights(int n, int m, bool shrinking, std::vector<Step>& table) {
    table.resize(n);
    const float d = static_cast<float>(shrinking ? n : m);
    const float whole = shrinking ? static_cast<float>(m) / static_cast<float>(n) : 1.0f;
    int b = 0;
    for (int i = 0; i < n; ++i) {
        const int e = b + m;
        if (e > n) {
            table[i].w0 = static_cast<float>(n - b) / d;
            table[i].w1 = static_cast<float>(e - n) / d;
            table[i].advance = true;
            b = e - n;
        } else {
            table[i].w0 = whole;
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
}

std::vector<Step> BuildWeights(int n, int m, bool shrinking) {
    std::vector<Step> table;
    BuildWeights(n, m, shrinking, table);
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

// Tables and accumulators of the shrinking pass, kept per thread so that small
// thumbnails do not pay for a dozen allocations each.
struct ShrinkScratch {
    std::vector<Step> cols, rows;
    std::vector<int> start, count;
    detail::ShrinkPlan plan;
    std::vector<v4f> acc;
};

void PlanColumns(int w, int W, float plainRow, ShrinkScratch& scratch) {
    using detail::kShrinkLanes;
    detail::ShrinkPlan& plan = scratch.plan;
    BuildWeights(w, W, true, scratch.cols);
    const std::vector<Step>& cols = scratch.cols;
    // x and x + 1 stay inside the row: x counts the boundaries passed, and the last
    // column always ends exactly on the last boundary. Checked anyway.
    auto forEachAdd = [&](auto add) {
        int x = 0;
        for (int sx = 0; sx < w; ++sx) {
            if (x < W) {
                add(x, sx, cols[sx].w0);
            }
            if (Second(cols[sx]) > 0.0f && x + 1 < W) {
                add(x + 1, sx, cols[sx].w1);
            }
            if (cols[sx].advance) {
                ++x;
            }
        }
    };
    // Each cell's run: its first source column and its length.
    std::vector<int>& start = scratch.start;
    std::vector<int>& count = scratch.count;
    start.assign(W, 0);
    count.assign(W, 0);
    forEachAdd([&](int x, int sx, float) {
        if (count[x]++ == 0) {
            start[x] = sx;
        }
    });
    plan.groups = (W + kShrinkLanes - 1) / kShrinkLanes;
    plan.groupStart.assign(plan.groups + 1, 0);
    plan.base.assign(size_t(plan.groups) * kShrinkLanes, 0);
    for (int g = 0; g < plan.groups; ++g) {
        const int end = std::min(W, (g + 1) * kShrinkLanes);
        int length = 0;
        for (int x = g * kShrinkLanes; x < end; ++x) {
            length = std::max(length, count[x]);
        }
        plan.groupStart[g + 1] = plan.groupStart[g] + length;
        // The window [base, base + length) holds the run and stays inside the row
        // (length <= w, as a run never repeats a column).
        for (int x = g * kShrinkLanes; x < end; ++x) {
            plan.base[x] = std::min(start[x], w - length);
        }
    }
    const size_t cells = size_t(plan.groupStart.back()) * kShrinkLanes;
    plan.weight.assign(cells, v4f{});
    plan.plain.assign(cells, v4f{});
    plan.plainRow = plainRow;
    const v4f row = Splat(plainRow);
    forEachAdd([&](int x, int sx, float weight) {
        const int g = x / kShrinkLanes;
        const int j = sx - plan.base[x];
        // A run is contiguous, so j always falls inside the group's window.
        if (j < 0 || j >= plan.groupStart[g + 1] - plan.groupStart[g]) {
            return;
        }
        const size_t cell = size_t(plan.groupStart[g] + j) * kShrinkLanes + x % kShrinkLanes;
        plan.weight[cell] = Splat(weight);
        plan.plain[cell] = row * Splat(weight);
    });
}

void AccumulateRowBaseline(const detail::ShrinkPlan& plan, const uint32_t* row, float r0, float r1,
                           v4f* cur, v4f* next) {
    auto load = [](const uint32_t* pixel) { return LoadPixel(pixel, 0); };
    detail::AccumulateRowWith(plan, row, r0, r1, cur, next, load);
}

void AccumulatePlainRowsBaseline(const detail::ShrinkPlan& plan, const uint32_t* row,
                                 ptrdiff_t stride, int count, v4f* cur) {
    auto load = [](const uint32_t* pixel) { return LoadPixel(pixel, 0); };
    detail::AccumulatePlainRowsKernel(plan, row, stride, count, cur, load);
}

struct ShrinkKernels {
    void (*row)(const detail::ShrinkPlan&, const uint32_t*, float, float, v4f*, v4f*);
    void (*plainRows)(const detail::ShrinkPlan&, const uint32_t*, ptrdiff_t, int, v4f*);
};

const int kBatchRows = 8;

const ShrinkKernels kBaselineKernels = {AccumulateRowBaseline, AccumulatePlainRowsBaseline};

ShrinkKernels ChooseKernels() {
#if defined(VODIREV_AVX2_KERNEL)
    if (__builtin_cpu_supports("avx2")) {
        return {detail::AccumulateRowAvx2, detail::AccumulatePlainRowsAvx2};
    }
#endif
    return kBaselineKernels;
}

// Rows are taken bottom-up, as they lie in the working layout: the source row
// sequence and the destination row sequence both start at the bottom of the picture.
void Shrink(const QImage& src, QImage& dst, const ShrinkKernels& kernels) {
    thread_local ShrinkScratch scratch;
    const int w = src.width(), h = src.height();
    const int W = dst.width(), H = dst.height();
    // Rows that do not straddle a boundary all weigh H / h.
    PlanColumns(w, W, static_cast<float>(H) / static_cast<float>(h), scratch);
    BuildWeights(h, H, true, scratch.rows);
    const detail::ShrinkPlan& plan = scratch.plan;
    const std::vector<Step>& rows = scratch.rows;
    const size_t cells = size_t(plan.groups) * detail::kShrinkLanes;
    scratch.acc.assign(2 * cells, v4f{});
    v4f* cur = scratch.acc.data();
    v4f* next = cur + cells;
    // Going up one row in the picture (the next source row).
    const ptrdiff_t up = -ptrdiff_t(src.bytesPerLine() / sizeof(uint32_t));
    // Each row's columns are read at eight places at once, which hardware prefetchers
    // do not follow; a picture larger than the caches gets its next rows fetched ahead.
    const bool prefetch = int64_t(w) * h * 4 > (int64_t(1) << 20);
    auto isPlain = [&](int sy) { return Second(rows[sy]) == 0.0f && rows[sy].w0 == plan.plainRow; };
    int written = 0;
    for (int sy = 0; sy < h;) {
        // A run of plain rows up to and including the one that ends a destination row;
        // a few rows at a time, so that a batch stays in the cache.
        int count = 1;
        if (isPlain(sy)) {
            while (count < kBatchRows && !rows[sy + count - 1].advance && sy + count < h &&
                   isPlain(sy + count)) {
                ++count;
            }
        }
        if (prefetch) {
            for (int ahead = sy + count; ahead < std::min(h, sy + 2 * count); ++ahead) {
                const uint32_t* line = SourceRow(src, h - 1 - ahead);
                for (int x = 0; x < w; x += 16) {
                    __builtin_prefetch(line + x);
                }
            }
        }
        const uint32_t* row = SourceRow(src, h - 1 - sy);
        if (isPlain(sy)) {
            kernels.plainRows(plan, row, up, count, cur);
        } else {
            kernels.row(plan, row, rows[sy].w0, Second(rows[sy]), cur, next);
        }
        sy += count;
        if (rows[sy - 1].advance) {
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
    // Keep the buffers for the next thumbnail, but not those of a huge picture.
    if (plan.weight.capacity() * sizeof(v4f) > (size_t(4) << 20)) {
        scratch = ShrinkScratch();
    }
}

// Enlarging: each destination pixel is
//   r0*c0*S(x,y) + [c1] r0*c1*S(x+1,y) + [r1] (r1*c0*S(x,y+1) + [c1] r1*c1*S(x+1,y+1)).
// A term that does not count is left out rather than added as +0, which is the same
// sum. A second column or row past the last one is never weighted (the tables end
// on the last boundary); indices are still clamped so no read leaves the picture.
struct ColumnStep {
    int dx;  // destination column
    int x;   // source column
    int x1;  // the next source column, clamped to the last one
    v4f c0;
    v4f c1;  // 0 unless the second column counts
};

void Enlarge(const QImage& src, QImage& dst) {
    const int w = src.width(), h = src.height();
    const int W = dst.width(), H = dst.height();
    const std::vector<Step> colTable = BuildWeights(W, w, false);
    const std::vector<Step> rowTable = BuildWeights(H, h, false);
    // Columns that lie within one source column, and those that straddle two.
    std::vector<ColumnStep> single, straddling;
    int x = 0;
    for (int dx = 0; dx < W; ++dx) {
        const int cx = std::min(x, w - 1);
        const float c1 = Second(colTable[dx]);
        const ColumnStep step{dx, cx, std::min(cx + 1, w - 1), Splat(colTable[dx].w0), Splat(c1)};
        (c1 > 0.0f ? straddling : single).push_back(step);
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
        const float r1 = Second(rowTable[dy]);
        const v4f vr1 = Splat(r1);
        uint32_t* out = DestRow(dst, H - 1 - dy);
        if (r1 > 0.0f) {
            for (const ColumnStep& c : single) {
                const v4f upper = (r0 * c.c0) * LoadPixel(row0, c.x);
                const v4f lower = (vr1 * c.c0) * LoadPixel(row1, c.x);
                out[c.dx] = StorePixel(upper + lower);
            }
            for (const ColumnStep& c : straddling) {
                const v4f upper =
                    (r0 * c.c0) * LoadPixel(row0, c.x) + (r0 * c.c1) * LoadPixel(row0, c.x1);
                const v4f lower =
                    (vr1 * c.c0) * LoadPixel(row1, c.x) + (vr1 * c.c1) * LoadPixel(row1, c.x1);
                out[c.dx] = StorePixel(upper + lower);
            }
        } else {
            for (const ColumnStep& c : single) {
                out[c.dx] = StorePixel((r0 * c.c0) * LoadPixel(row0, c.x));
            }
            for (const ColumnStep& c : straddling) {
                out[c.dx] = StorePixel((r0 * c.c0) * LoadPixel(row0, c.x) +
                                       (r0 * c.c1) * LoadPixel(row0, c.x1));
            }
        }
        if (rowTable[dy].advance) {
            ++y;
        }
    }
}

QImage Scale(const QImage& source, int width, int height, const ShrinkKernels& kernels) {
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
        Shrink(src, dst, kernels);
    }
    return dst;
}

}  // namespace

QImage ScaleBitmap(const QImage& source, int width, int height) {
    static const ShrinkKernels kernels = ChooseKernels();
    return Scale(source, width, height, kernels);
}

QImage detail::ScaleBitmapBaseline(const QImage& source, int width, int height) {
    return Scale(source, width, height, kBaselineKernels);
}

}  // namespace vodirev
