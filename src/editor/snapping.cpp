#include "editor/snapping.h"

#include <algorithm>
#include <cstdlib>

namespace vodirev {

namespace {

using Wide = long long;

void SortUnique(std::vector<int>& values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

// The nearest target to value within the snap distance, as (pull, target).
std::optional<std::pair<Wide, int>> Nearest(const std::vector<int>& targets, Wide value) {
    const auto at = std::lower_bound(targets.begin(), targets.end(), value,
                                     [](int target, Wide v) { return Wide{target} < v; });
    std::optional<std::pair<Wide, int>> best;
    const auto consider = [&](std::vector<int>::const_iterator it) {
        const Wide pull = Wide{*it} - value;
        if (std::abs(pull) <= kSnapDistance && (!best || std::abs(pull) < std::abs(best->first))) {
            best = std::make_pair(pull, *it);
        }
    };
    if (at != targets.end()) {
        consider(at);
    }
    if (at != targets.begin()) {
        consider(std::prev(at));
    }
    return best;
}

// Edges first: on a tie an edge wins over the centre.
std::optional<std::pair<Wide, int>> SnapAxis(const std::vector<int>& targets, Wide low, Wide high) {
    std::optional<std::pair<Wide, int>> best;
    for (const Wide value : {low, high, (low + high) / 2}) {
        const auto found = Nearest(targets, value);
        if (found && (!best || std::abs(found->first) < std::abs(best->first))) {
            best = found;
        }
    }
    return best;
}

}  // namespace

void SnapHelper::SetTargets(const DesktopSession& session, const Selection& moving,
                            int toolbarHeight) {
    m_xs.clear();
    m_ys.clear();
    for (const ItemRef item : SelectAll(session)) {
        if (Contains(moving, item)) {
            continue;
        }
        const ItemRect rect = ItemBounds(session, item, toolbarHeight);
        m_xs.insert(m_xs.end(), {rect.left, rect.right, int((Wide{rect.left} + rect.right) / 2)});
        m_ys.insert(m_ys.end(), {rect.top, rect.bottom, int((Wide{rect.top} + rect.bottom) / 2)});
    }
    m_xs.push_back(session.m_nResWidth / 2);
    m_ys.push_back(session.m_nResHeight / 2);
    SortUnique(m_xs);
    SortUnique(m_ys);
}

void SnapHelper::SetTargets(std::vector<int> xs, std::vector<int> ys) {
    m_xs = std::move(xs);
    m_ys = std::move(ys);
    SortUnique(m_xs);
    SortUnique(m_ys);
}

SnapResult SnapHelper::Snap(const ItemRect& proposed, bool free) const {
    SnapResult result;
    if (free) {
        return result;
    }
    if (const auto x = SnapAxis(m_xs, proposed.left, proposed.right)) {
        result.dx = int(x->first);
        result.guideX = x->second;
    }
    if (const auto y = SnapAxis(m_ys, proposed.top, proposed.bottom)) {
        result.dy = int(y->first);
        result.guideY = y->second;
    }
    return result;
}

}  // namespace vodirev
