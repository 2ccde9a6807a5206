// The shrinking inner loop built for AVX2 (chosen at run time): the same float
// operations in the same order as the baseline build, with two cells' pixels side by
// side in one register (four chains of two cells for a group of eight).

#include <immintrin.h>

#include "imaging/shrink_kernel.h"

namespace vodirev::detail {
namespace {

static_assert(kShrinkLanes == 8, "a group is four pairs of cells");

// Two pixels as (b, g, r, a, b, g, r, a) floats: each is broadcast (a plain load),
// one kept in each half, and every byte moved to the bottom of its own 32-bit lane.
inline __m256 LoadPair(const uint32_t* first, const uint32_t* second) {
    const __m256i spread =
        _mm256_setr_epi8(0, -1, -1, -1, 1, -1, -1, -1, 2, -1, -1, -1, 3, -1, -1, -1,  //
                         0, -1, -1, -1, 1, -1, -1, -1, 2, -1, -1, -1, 3, -1, -1, -1);
    const __m256i both = _mm256_blend_epi32(_mm256_set1_epi32(static_cast<int>(*first)),
                                            _mm256_set1_epi32(static_cast<int>(*second)), 0xF0);
    return _mm256_cvtepi32_ps(_mm256_shuffle_epi8(both, spread));
}

inline __m256 LoadCells(const v4f* cells) {
    return _mm256_loadu_ps(reinterpret_cast<const float*>(cells));
}
inline void StoreCells(v4f* cells, __m256 v) {
    _mm256_storeu_ps(reinterpret_cast<float*>(cells), v);
}

// One pair of cells: a += (r0 * w) * pixels, and b += (r1 * w) * pixels for kMode 2;
// kMode 0 takes the precomputed r0 * w.
template <int kMode>
inline void Step(const __m256 px, const v4f* weights, __m256 vr0, __m256 vr1, __m256& a,
                 __m256& b) {
    const __m256 w = LoadCells(weights);
    if (kMode == 0) {
        a = _mm256_add_ps(a, _mm256_mul_ps(w, px));
    } else {
        a = _mm256_add_ps(a, _mm256_mul_ps(_mm256_mul_ps(vr0, w), px));
        if (kMode == 2) {
            b = _mm256_add_ps(b, _mm256_mul_ps(_mm256_mul_ps(vr1, w), px));
        }
    }
}

template <int kMode>
void Kernel(const ShrinkPlan& plan, const uint32_t* row, float r0, float r1, v4f* cur, v4f* next) {
    const __m256 vr0 = _mm256_set1_ps(r0);
    const __m256 vr1 = _mm256_set1_ps(r1);
    for (int g = 0; g < plan.groups; ++g) {
        v4f* c = cur + g * kShrinkLanes;
        v4f* n = next + g * kShrinkLanes;
        const int32_t* base = plan.base.data() + g * kShrinkLanes;
        const uint32_t *q0 = row + base[0], *q1 = row + base[1], *q2 = row + base[2],
                       *q3 = row + base[3], *q4 = row + base[4], *q5 = row + base[5],
                       *q6 = row + base[6], *q7 = row + base[7];
        // Kept in named registers: four independent add chains.
        __m256 a0 = LoadCells(c), a1 = LoadCells(c + 2), a2 = LoadCells(c + 4),
               a3 = LoadCells(c + 6);
        __m256 b0 = _mm256_setzero_ps(), b1 = b0, b2 = b0, b3 = b0;
        if (kMode == 2) {
            b0 = LoadCells(n), b1 = LoadCells(n + 2), b2 = LoadCells(n + 4), b3 = LoadCells(n + 6);
        }
        const int first = plan.groupStart[g];
        const int length = plan.groupStart[g + 1] - first;
        const v4f* w =
            (kMode == 0 ? plan.plain.data() : plan.weight.data()) + size_t(first) * kShrinkLanes;
        for (int j = 0; j < length; ++j, w += kShrinkLanes) {
            Step<kMode>(LoadPair(q0 + j, q1 + j), w, vr0, vr1, a0, b0);
            Step<kMode>(LoadPair(q2 + j, q3 + j), w + 2, vr0, vr1, a1, b1);
            Step<kMode>(LoadPair(q4 + j, q5 + j), w + 4, vr0, vr1, a2, b2);
            Step<kMode>(LoadPair(q6 + j, q7 + j), w + 6, vr0, vr1, a3, b3);
        }
        StoreCells(c, a0), StoreCells(c + 2, a1), StoreCells(c + 4, a2), StoreCells(c + 6, a3);
        if (kMode == 2) {
            StoreCells(n, b0), StoreCells(n + 2, b1), StoreCells(n + 4, b2);
            StoreCells(n + 6, b3);
        }
    }
}

}  // namespace

void AccumulatePlainRowsAvx2(const ShrinkPlan& plan, const uint32_t* row, ptrdiff_t stride,
                             int count, v4f* cur) {
    const __m256 unused = _mm256_setzero_ps();
    for (int g = 0; g < plan.groups; ++g) {
        v4f* c = cur + g * kShrinkLanes;
        const int32_t* base = plan.base.data() + g * kShrinkLanes;
        __m256 a0 = LoadCells(c), a1 = LoadCells(c + 2), a2 = LoadCells(c + 4),
               a3 = LoadCells(c + 6);
        __m256 b = unused;
        const int first = plan.groupStart[g];
        const int length = plan.groupStart[g + 1] - first;
        for (int r = 0; r < count; ++r) {
            const uint32_t* line = row + r * stride;
            const uint32_t *q0 = line + base[0], *q1 = line + base[1], *q2 = line + base[2],
                           *q3 = line + base[3], *q4 = line + base[4], *q5 = line + base[5],
                           *q6 = line + base[6], *q7 = line + base[7];
            const v4f* w = plan.plain.data() + size_t(first) * kShrinkLanes;
            for (int j = 0; j < length; ++j, w += kShrinkLanes) {
                Step<0>(LoadPair(q0 + j, q1 + j), w, unused, unused, a0, b);
                Step<0>(LoadPair(q2 + j, q3 + j), w + 2, unused, unused, a1, b);
                Step<0>(LoadPair(q4 + j, q5 + j), w + 4, unused, unused, a2, b);
                Step<0>(LoadPair(q6 + j, q7 + j), w + 6, unused, unused, a3, b);
            }
        }
        StoreCells(c, a0), StoreCells(c + 2, a1), StoreCells(c + 4, a2), StoreCells(c + 6, a3);
    }
}

void AccumulateRowAvx2(const ShrinkPlan& plan, const uint32_t* row, float r0, float r1, v4f* cur,
                       v4f* next) {
    if (r1 > 0.0f) {
        Kernel<2>(plan, row, r0, r1, cur, next);
    } else if (r0 == plan.plainRow) {
        Kernel<0>(plan, row, r0, r1, cur, next);
    } else {
        Kernel<1>(plan, row, r0, r1, cur, next);
    }
}

}  // namespace vodirev::detail
