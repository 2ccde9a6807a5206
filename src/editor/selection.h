#pragma once
// The items the operator has selected on the canvas, and what is done to them at
// once: moving, deleting, aligning, distributing, copying and pasting. A selection
// is a list of references into the document; every operation is a plain function
// over the session that the window records as one undo step. Nothing here is drawn
// by the renderer or written to any file.

#include "document/desktop_session.h"
#include "document/item_rect.h"

#include <QPoint>
#include <compare>
#include <vector>

namespace vodirev {

class CommandUi;

enum class ItemKind : int { Icon, Label, Picture, Launcher };

// One item of the canvas: an icon (index into m_arrFolder), a label slot, a picture
// (index into m_arrUserImage) or the launcher (index 0).
struct ItemRef {
    ItemKind kind = ItemKind::Icon;
    int index = -1;

    auto operator<=>(const ItemRef&) const = default;
};

using Selection = std::vector<ItemRef>;

// The item still names something: an icon or picture index in range, a label slot
// in use, a launcher with a picture.
bool IsLive(const DesktopSession& session, ItemRef item);
// Drops references that no longer name an item (after undo, delete or a load).
void DropStale(const DesktopSession& session, Selection& selection);
bool Contains(const Selection& selection, ItemRef item);
// Adds the item, or removes it when it is there (Ctrl+click, Shift+click).
void Toggle(Selection& selection, ItemRef item);

// Where the item lies, in canvas coordinates (the launcher's client y less the
// strip). A label covers its drawn lines: (h / 2 + 1) per byte of the longest one,
// (h * 7) / 5 per line, as its hover frame measures the first.
ItemRect ItemBounds(const DesktopSession& session, ItemRef item, int toolbarHeight);
// The union of the items' bounds; all zero for an empty selection.
ItemRect SelectionBounds(const DesktopSession& session, const Selection& selection,
                         int toolbarHeight);

// Every icon, label in use and picture, wherever it lies (also off the canvas).
// The launcher is a setting of the room's bar, not a desktop item: never included.
Selection SelectAll(const DesktopSession& session);
// The items a rubber band from a to b (canvas points, any corners) touches, edges
// included, in SelectAll's order.
Selection ItemsTouching(const DesktopSession& session, QPoint a, QPoint b, int toolbarHeight);

// Moves one item by (dx, dy); positions are not clamped, as a drag's are not.
void MoveItem(DesktopSession& session, ItemRef item, int dx, int dy);
void MoveSelection(DesktopSession& session, const Selection& selection, int dx, int dy);
// Puts the item's top-left corner at a canvas point.
void MoveItemTo(DesktopSession& session, ItemRef item, QPoint topLeft, int toolbarHeight);

// Deletes the selected icons, labels and pictures with the effects of their menu
// commands: a folder's programs return to the catalogue, deleting the control panel
// returns its entries, a label frees its slot, a picture's file stays. The launcher
// is not deleted. Returns whether anything was deleted; the selection is emptied of
// what went.
bool DeleteSelection(DesktopSession& session, Selection& selection);

enum class Alignment { Left, Right, Top, Bottom, HorizontalCentre, VerticalCentre };
// Lines up two or more items on the selection's bounds (left edges on the leftmost
// left edge and so on; centres on the centre of the bounds). False when fewer than
// two items or nothing moved.
bool AlignSelection(DesktopSession& session, const Selection& selection, Alignment alignment,
                    int toolbarHeight);
// Spreads three or more items so the gaps between them are equal, across (by left
// edge order) or down (by top edge order); the outermost two stay.
bool DistributeSelection(DesktopSession& session, const Selection& selection, bool across,
                         int toolbarHeight);

// What Ctrl+C keeps: copies of the selected icons, labels (with their colours) and
// pictures, and where their bounds' top-left corner was.
struct ClipboardItems {
    struct Label {
        CInfoLabel label;
        ColorRef colour = 0;
    };
    std::vector<CInfoFolder> icons;
    std::vector<Label> labels;
    std::vector<CInfoUserImage> pictures;
    QPoint origin;

    bool empty() const { return icons.empty() && labels.empty() && pictures.empty(); }
};

ClipboardItems CopySelection(const DesktopSession& session, const Selection& selection,
                             int toolbarHeight);

// Adds the copies with their top-left corner at topLeft (canvas), keeping each
// one's place in the group and its title, image, link, font and colour, as the
// create commands would: an icon numbered one past the count of icons, appended on
// top; a special icon (my computer, recycle bin, control panel, user reviews) only
// when none of its type is there; a label in the first free slot, and when none is
// left the message "더이상 추가할 수 없습니다." once. The new items, as a selection.
Selection PasteItems(DesktopSession& session, const ClipboardItems& items, QPoint topLeft,
                     CommandUi& ui);

// Ctrl+D: the selection copied and pasted 10 pixels down and right of it.
inline constexpr int kDuplicateOffset = 10;
Selection DuplicateSelection(DesktopSession& session, const Selection& selection, int toolbarHeight,
                             CommandUi& ui);

// The icons, labels and pictures wholly outside the canvas (0, 0, width, height).
Selection ItemsOffCanvas(const DesktopSession& session, int width, int height);
// Moves each of them the least distance that puts it inside the canvas (its top-left
// corner at least; an item larger than the canvas lies at its top or left edge).
void MoveInsideCanvas(DesktopSession& session, const Selection& items, int width, int height);

}  // namespace vodirev
