#pragma once
// Snapping while dragging: the moving items' bounds are pulled onto the edges and
// centres of the other items and onto the canvas's centre lines when one of their
// own edges or centre comes within a few pixels; the line it snapped to is the
// guide the window draws. Holding Alt drags freely. A small value: the targets are
// gathered once when the drag starts, each pointer move asks for one offset.

#include "document/item_rect.h"
#include "editor/selection.h"

#include <optional>
#include <vector>

namespace vodirev {

inline constexpr int kSnapDistance = 6;

struct SnapResult {
    int dx = 0;  // to add to the proposed position
    int dy = 0;
    std::optional<int> guideX;  // canvas x of a vertical guide
    std::optional<int> guideY;  // canvas y of a horizontal guide
};

class SnapHelper {
public:
    // Targets: every item except the moving ones (left, centre, right; top, centre,
    // bottom) and the canvas's centre lines.
    void SetTargets(const DesktopSession& session, const Selection& moving, int toolbarHeight);
    // Adds one target line each way (tests, the canvas centre).
    void SetTargets(std::vector<int> xs, std::vector<int> ys);

    // The smallest pull within kSnapDistance that puts a left edge, centre or right
    // edge of the proposed bounds on a target x (the same down); nothing with free set.
    SnapResult Snap(const ItemRect& proposed, bool free) const;

    std::size_t targetCount() const { return m_xs.size() + m_ys.size(); }

private:
    std::vector<int> m_xs;  // sorted
    std::vector<int> m_ys;  // sorted
};

}  // namespace vodirev
