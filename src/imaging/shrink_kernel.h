#pragma once
// Internal to the resampler (scale_bitmap.cpp, scale_bitmap_avx2.cpp): the shrinking
// inner loop, compiled once for the baseline instruction set and once for AVX2.

#include <cstddef>
#include <cstdint>
#include <vector>

// These vector helpers have internal linkage and pass vectors only between functions
// of one build, so GCC's note that 32-byte vectors are passed differently without
// AVX does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vodirev::detail {

// One pixel or one weight in four lanes: blue, green, red, alpha (alpha is carried
// along and never stored).
typedef float v4f __attribute__((vector_size(16)));

// Every destination column is an accumulator cell that receives, on every source
// row, a fixed sequence of (source column, column weight) adds over a contiguous run
// of source columns: the straddling pixel it shares with its left neighbour, then
// its own pixels. Cells are independent, so eight advance together to overlap their
// add chains; within a cell the adds keep the order of the source columns. Runs of
// a group are padded to one length with zero weights (adding 0 x pixel changes
// nothing); each lane's window is placed inside the row, which is always possible
// since no run is longer than the row.
constexpr int kShrinkLanes = 8;

struct ShrinkPlan {
    int groups = 0;
    std::vector<int> groupStart;  // groups + 1 offsets, in slots
    std::vector<int32_t> base;    // [group][lane] source column of the lane's first slot
    std::vector<v4f> weight;      // [slot][lane] column weight c in all four channels
    std::vector<v4f> plain;       // [slot][lane] r * c for the rows that do not straddle
    float plainRow = 0.0f;        // their row weight r (H / h)
};

// Adds one source row into the current accumulator row (groups * 8 cells) and, when
// r1 > 0, into the next one: current[x] += (r0 * c) * pixel, next[x] += (r1 * c) * pixel.
void AccumulateRowAvx2(const ShrinkPlan& plan, const uint32_t* row, float r0, float r1, v4f* cur,
                       v4f* next);

// Adds `count` plain rows (row weight plan.plainRow, nothing for the next row) one
// after the other: row, row + stride, ... (stride in pixels, negative going up).
void AccumulatePlainRowsAvx2(const ShrinkPlan& plan, const uint32_t* row, ptrdiff_t stride,
                             int count, v4f* cur);

namespace {

// kMode: 0 = the precomputed products (r0 is the plain row weight, no next row);
// 1 = r0 * c on the fly; 2 = also r1 * c into the next row. A group of eight cells
// is taken as two halves of four, each with its own add chains.
template <int kMode, typename LoadPixel>
inline void AccumulateRowKernel(const ShrinkPlan& plan, const uint32_t* row, float r0, float r1,
                                v4f* cur, v4f* next, LoadPixel load) {
    const v4f vr0 = v4f{} + r0;
    const v4f vr1 = v4f{} + r1;
    for (int g = 0; g < plan.groups; ++g) {
        for (int half = 0; half < kShrinkLanes; half += 4) {
            v4f* c = cur + g * kShrinkLanes + half;
            v4f* n = next + g * kShrinkLanes + half;
            const int32_t* base = plan.base.data() + g * kShrinkLanes + half;
            const uint32_t *q0 = row + base[0], *q1 = row + base[1], *q2 = row + base[2],
                           *q3 = row + base[3];
            v4f a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
            v4f b0{}, b1{}, b2{}, b3{};
            if (kMode == 2) {
                b0 = n[0], b1 = n[1], b2 = n[2], b3 = n[3];
            }
            const int first = plan.groupStart[g];
            const int length = plan.groupStart[g + 1] - first;
            const v4f* k = (kMode == 0 ? plan.plain.data() : plan.weight.data()) +
                           size_t(first) * kShrinkLanes + half;
            for (int j = 0; j < length; ++j, k += kShrinkLanes) {
                const v4f p0 = load(q0 + j);
                const v4f p1 = load(q1 + j);
                const v4f p2 = load(q2 + j);
                const v4f p3 = load(q3 + j);
                if (kMode == 0) {
                    a0 += k[0] * p0;
                    a1 += k[1] * p1;
                    a2 += k[2] * p2;
                    a3 += k[3] * p3;
                } else {
                    a0 += (vr0 * k[0]) * p0;
                    a1 += (vr0 * k[1]) * p1;
                    a2 += (vr0 * k[2]) * p2;
                    a3 += (vr0 * k[3]) * p3;
                    if (kMode == 2) {
                        b0 += (vr1 * k[0]) * p0;
                        b1 += (vr1 * k[1]) * p1;
                        b2 += (vr1 * k[2]) * p2;
                        b3 += (vr1 * k[3]) * p3;
                    }
                }
            }
            c[0] = a0, c[1] = a1, c[2] = a2, c[3] = a3;
            if (kMode == 2) {
                n[0] = b0, n[1] = b1, n[2] = b2, n[3] = b3;
            }
        }
    }
}

// The plain rows of a batch for each group in turn: a cell still takes its adds row
// by row and column by column, but stays in registers across the rows.
template <typename LoadPixel>
inline void AccumulatePlainRowsKernel(const ShrinkPlan& plan, const uint32_t* row, ptrdiff_t stride,
                                      int count, v4f* cur, LoadPixel load) {
    for (int g = 0; g < plan.groups; ++g) {
        for (int half = 0; half < kShrinkLanes; half += 4) {
            v4f* c = cur + g * kShrinkLanes + half;
            const int32_t* base = plan.base.data() + g * kShrinkLanes + half;
            v4f a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
            const int first = plan.groupStart[g];
            const int length = plan.groupStart[g + 1] - first;
            for (int r = 0; r < count; ++r) {
                const uint32_t* line = row + r * stride;
                const uint32_t *q0 = line + base[0], *q1 = line + base[1], *q2 = line + base[2],
                               *q3 = line + base[3];
                const v4f* k = plan.plain.data() + size_t(first) * kShrinkLanes + half;
                for (int j = 0; j < length; ++j, k += kShrinkLanes) {
                    a0 += k[0] * load(q0 + j);
                    a1 += k[1] * load(q1 + j);
                    a2 += k[2] * load(q2 + j);
                    a3 += k[3] * load(q3 + j);
                }
            }
            c[0] = a0, c[1] = a1, c[2] = a2, c[3] = a3;
        }
    }
}

template <typename LoadPixel>
inline void AccumulateRowWith(const ShrinkPlan& plan, const uint32_t* row, float r0, float r1,
                              v4f* cur, v4f* next, LoadPixel load) {
    if (r1 > 0.0f) {
        AccumulateRowKernel<2>(plan, row, r0, r1, cur, next, load);
    } else if (r0 == plan.plainRow) {
        AccumulateRowKernel<0>(plan, row, r0, r1, cur, next, load);
    } else {
        AccumulateRowKernel<1>(plan, row, r0, r1, cur, next, load);
    }
}

}  // namespace
}  // namespace vodirev::detail
