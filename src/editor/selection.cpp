#include "editor/selection.h"

#include "editor/canvas_state.h"
#include "editor/command_ids.h"
#include "editor/command_ui.h"
#include "editor/desktop_commands.h"
#include "editor/icon_commands.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vodirev {

namespace {

using Wide = long long;

int ToInt(Wide value) {
    return static_cast<int>(std::clamp<Wide>(value, INT_MIN, INT_MAX));
}

bool InRange(int index, std::size_t size) {
    return index >= 0 && std::size_t(index) < size;
}

ItemRect MakeRect(Wide left, Wide top, Wide width, Wide height) {
    return {ToInt(left), ToInt(top), ToInt(left + width), ToInt(top + height)};
}

ItemRect LabelBounds(const CInfoLabel& label) {
    const Wide h = std::abs(Wide{label.m_nHeight});
    const Wide step = (h * 7) / 5;
    Wide lines = 0;
    Wide longest = 0;
    // Drawing stops at the first empty line, so the bounds do too.
    std::string_view rest = label.m_strText;
    while (true) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (line.empty()) {
            break;
        }
        ++lines;
        longest = std::max<Wide>(longest, Wide(line.size()));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return MakeRect(label.m_nX, label.m_nY, (h / 2 + 1) * longest, step * std::max<Wide>(1, lines));
}

bool Touches(const ItemRect& item, const ItemRect& band) {
    return item.left <= band.right && band.left <= item.right && item.top <= band.bottom &&
           band.top <= item.bottom;
}

// Deletes in descending index order so the earlier indices stay valid.
Selection SortedForDelete(Selection items, ItemKind kind) {
    std::erase_if(items, [kind](ItemRef item) { return item.kind != kind; });
    std::sort(items.begin(), items.end(), [](ItemRef a, ItemRef b) { return a.index > b.index; });
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

int DeleteCommandFor(int type) {
    switch (type) {
        case kTypeFolder:
            return ID_DELETE_FOLDER;
        case kTypeControlPanel:
            return ID_DELETE_CONTROL_PANEL;
        case kTypeMyComputer:
        case kTypeRecycleBin:
        case kTypeUserReviews:
            return ID_DELETE_BASE_FOLDER;
        default:
            // Shortcuts, and icons of a type no menu names: removed and nothing else.
            return ID_DELETE_SHORTCUT;
    }
}

bool IsSpecialType(int type) {
    return type == kTypeMyComputer || type == kTypeRecycleBin || type == kTypeControlPanel ||
           type == kTypeUserReviews;
}

}  // namespace

bool IsLive(const DesktopSession& session, ItemRef item) {
    const CDesktopInfo& desktop = session.m_desktop;
    switch (item.kind) {
        case ItemKind::Icon:
            return InRange(item.index, desktop.m_arrFolder.size());
        case ItemKind::Label:
            return InRange(item.index, kLabelSlots) &&
                   desktop.m_bLabelUsed[std::size_t(item.index)] != 0;
        case ItemKind::Picture:
            return InRange(item.index, desktop.m_arrUserImage.size());
        case ItemKind::Launcher:
            return item.index == 0 && !session.m_pLauncherBitmap.isNull();
    }
    return false;
}

void DropStale(const DesktopSession& session, Selection& selection) {
    std::erase_if(selection, [&session](ItemRef item) { return !IsLive(session, item); });
}

bool Contains(const Selection& selection, ItemRef item) {
    return std::find(selection.begin(), selection.end(), item) != selection.end();
}

void Toggle(Selection& selection, ItemRef item) {
    const auto found = std::find(selection.begin(), selection.end(), item);
    if (found != selection.end()) {
        selection.erase(found);
    } else {
        selection.push_back(item);
    }
}

ItemRect ItemBounds(const DesktopSession& session, ItemRef item, int toolbarHeight) {
    if (!IsLive(session, item)) {
        return {};
    }
    const CDesktopInfo& desktop = session.m_desktop;
    const auto index = std::size_t(item.index);
    switch (item.kind) {
        case ItemKind::Icon:
            return desktop.m_arrFolder[index].m_rcItem;
        case ItemKind::Label:
            return LabelBounds(desktop.m_label[index]);
        case ItemKind::Picture: {
            const CInfoUserImage& picture = desktop.m_arrUserImage[index];
            return MakeRect(picture.m_nX, picture.m_nY, picture.m_pBitmap.width(),
                            picture.m_pBitmap.height());
        }
        case ItemKind::Launcher:
            return MakeRect(session.m_nLauncherX, Wide{session.m_nLauncherY} - toolbarHeight,
                            session.m_pLauncherBitmap.width(), session.m_pLauncherBitmap.height());
    }
    return {};
}

ItemRect SelectionBounds(const DesktopSession& session, const Selection& selection,
                         int toolbarHeight) {
    ItemRect bounds;
    bool first = true;
    for (const ItemRef item : selection) {
        if (!IsLive(session, item)) {
            continue;
        }
        const ItemRect rect = ItemBounds(session, item, toolbarHeight);
        if (first) {
            bounds = rect;
            first = false;
        } else {
            bounds.left = std::min(bounds.left, rect.left);
            bounds.top = std::min(bounds.top, rect.top);
            bounds.right = std::max(bounds.right, rect.right);
            bounds.bottom = std::max(bounds.bottom, rect.bottom);
        }
    }
    return bounds;
}

Selection SelectAll(const DesktopSession& session) {
    Selection all;
    const CDesktopInfo& desktop = session.m_desktop;
    for (std::size_t i = 0; i < desktop.m_arrFolder.size(); ++i) {
        all.push_back({ItemKind::Icon, int(i)});
    }
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (desktop.m_bLabelUsed[std::size_t(slot)] != 0) {
            all.push_back({ItemKind::Label, slot});
        }
    }
    for (std::size_t i = 0; i < desktop.m_arrUserImage.size(); ++i) {
        all.push_back({ItemKind::Picture, int(i)});
    }
    return all;
}

Selection ItemsTouching(const DesktopSession& session, QPoint a, QPoint b, int toolbarHeight) {
    const ItemRect band{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                        std::max(a.y(), b.y())};
    Selection touched;
    for (const ItemRef item : SelectAll(session)) {
        if (Touches(ItemBounds(session, item, toolbarHeight), band)) {
            touched.push_back(item);
        }
    }
    return touched;
}

void MoveItem(DesktopSession& session, ItemRef item, int dx, int dy) {
    if (!IsLive(session, item)) {
        return;
    }
    CDesktopInfo& desktop = session.m_desktop;
    const auto index = std::size_t(item.index);
    const auto shift = [dx, dy](int& x, int& y) {
        x = ToInt(Wide{x} + dx);
        y = ToInt(Wide{y} + dy);
    };
    switch (item.kind) {
        case ItemKind::Icon: {
            // The layout writer takes the icon's place from its rectangle, as a drag moves it.
            ItemRect& rc = desktop.m_arrFolder[index].m_rcItem;
            shift(rc.left, rc.top);
            shift(rc.right, rc.bottom);
            break;
        }
        case ItemKind::Label:
            shift(desktop.m_label[index].m_nX, desktop.m_label[index].m_nY);
            break;
        case ItemKind::Picture:
            shift(desktop.m_arrUserImage[index].m_nX, desktop.m_arrUserImage[index].m_nY);
            break;
        case ItemKind::Launcher:
            shift(session.m_nLauncherX, session.m_nLauncherY);
            break;
    }
}

void MoveSelection(DesktopSession& session, const Selection& selection, int dx, int dy) {
    for (const ItemRef item : selection) {
        MoveItem(session, item, dx, dy);
    }
}

void MoveItemTo(DesktopSession& session, ItemRef item, QPoint topLeft, int toolbarHeight) {
    const ItemRect bounds = ItemBounds(session, item, toolbarHeight);
    MoveItem(session, item, ToInt(Wide{topLeft.x()} - bounds.left),
             ToInt(Wide{topLeft.y()} - bounds.top));
}

bool DeleteSelection(DesktopSession& session, Selection& selection) {
    DropStale(session, selection);
    bool deleted = false;
    CanvasState targets;
    for (const ItemRef icon : SortedForDelete(selection, ItemKind::Icon)) {
        targets.m_nContextFolder = icon.index;
        const int type = session.m_desktop.m_arrFolder[std::size_t(icon.index)].m_nType;
        deleted |= OnDeleteIconCommand(session, targets, DeleteCommandFor(type)).repaint;
    }
    for (const ItemRef label : SortedForDelete(selection, ItemKind::Label)) {
        targets.m_nActiveText = label.index;
        deleted |= OnDeleteLabel(session, targets).repaint;
    }
    for (const ItemRef picture : SortedForDelete(selection, ItemKind::Picture)) {
        targets.m_nActiveImage = picture.index;
        deleted |= OnDeletePicture(session, targets).repaint;
    }
    std::erase_if(selection, [](ItemRef item) { return item.kind != ItemKind::Launcher; });
    return deleted;
}

bool AlignSelection(DesktopSession& session, const Selection& selection, Alignment alignment,
                    int toolbarHeight) {
    Selection items = selection;
    DropStale(session, items);
    if (items.size() < 2) {
        return false;
    }
    const ItemRect all = SelectionBounds(session, items, toolbarHeight);
    bool moved = false;
    for (const ItemRef item : items) {
        const ItemRect rect = ItemBounds(session, item, toolbarHeight);
        Wide dx = 0;
        Wide dy = 0;
        switch (alignment) {
            case Alignment::Left:
                dx = Wide{all.left} - rect.left;
                break;
            case Alignment::Right:
                dx = Wide{all.right} - rect.right;
                break;
            case Alignment::Top:
                dy = Wide{all.top} - rect.top;
                break;
            case Alignment::Bottom:
                dy = Wide{all.bottom} - rect.bottom;
                break;
            case Alignment::HorizontalCentre:
                // Centres in whole pixels: the doubled centres differ by an even amount
                // or the item lands half a pixel left.
                dx = ((Wide{all.left} + all.right) - (Wide{rect.left} + rect.right)) / 2;
                break;
            case Alignment::VerticalCentre:
                dy = ((Wide{all.top} + all.bottom) - (Wide{rect.top} + rect.bottom)) / 2;
                break;
        }
        if (dx != 0 || dy != 0) {
            MoveItem(session, item, ToInt(dx), ToInt(dy));
            moved = true;
        }
    }
    return moved;
}

bool DistributeSelection(DesktopSession& session, const Selection& selection, bool across,
                         int toolbarHeight) {
    Selection items = selection;
    DropStale(session, items);
    if (items.size() < 3) {
        return false;
    }
    struct Placed {
        ItemRef item;
        Wide start;
        Wide size;
    };
    std::vector<Placed> placed;
    for (const ItemRef item : items) {
        const ItemRect rect = ItemBounds(session, item, toolbarHeight);
        placed.push_back(across ? Placed{item, rect.left, Wide{rect.right} - rect.left}
                                : Placed{item, rect.top, Wide{rect.bottom} - rect.top});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.start < b.start; });
    const Wide first = placed.front().start;
    const Wide end = placed.back().start + placed.back().size;
    Wide sizes = 0;
    for (const Placed& p : placed) {
        sizes += p.size;
    }
    // The free space is shared out in whole pixels; the remainder goes to the first gaps.
    const Wide gaps = Wide(placed.size()) - 1;
    const Wide space = end - first - sizes;
    const Wide gap = space >= 0 ? space / gaps : -((-space + gaps - 1) / gaps);
    Wide extra = space - gap * gaps;
    Wide at = first;
    bool moved = false;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        if (i + 1 < placed.size() && i > 0 && at != p.start) {
            const int delta = ToInt(at - p.start);
            MoveItem(session, p.item, across ? delta : 0, across ? 0 : delta);
            moved = true;
        }
        at += p.size + gap;
        if (extra > 0) {
            ++at;
            --extra;
        }
    }
    return moved;
}

ClipboardItems CopySelection(const DesktopSession& session, const Selection& selection,
                             int toolbarHeight) {
    ClipboardItems copied;
    Selection items = selection;
    DropStale(session, items);
    const CDesktopInfo& desktop = session.m_desktop;
    // Copies are kept in the document's order, so pasted icons stack as the originals.
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    Selection kept;
    for (const ItemRef item : items) {
        const auto index = std::size_t(item.index);
        switch (item.kind) {
            case ItemKind::Icon:
                copied.icons.push_back(desktop.m_arrFolder[index]);
                break;
            case ItemKind::Label:
                copied.labels.push_back({desktop.m_label[index], desktop.m_crLabel[index]});
                break;
            case ItemKind::Picture:
                copied.pictures.push_back(desktop.m_arrUserImage[index]);
                break;
            case ItemKind::Launcher:
                continue;  // one launcher per room
        }
        kept.push_back(item);
    }
    const ItemRect bounds = SelectionBounds(session, kept, toolbarHeight);
    copied.origin = QPoint(bounds.left, bounds.top);
    return copied;
}

Selection PasteItems(DesktopSession& session, const ClipboardItems& items, QPoint topLeft,
                     CommandUi& ui) {
    CDesktopInfo& desktop = session.m_desktop;
    const int dx = ToInt(Wide{topLeft.x()} - items.origin.x());
    const int dy = ToInt(Wide{topLeft.y()} - items.origin.y());
    Selection added;
    for (const CInfoFolder& original : items.icons) {
        if (IsSpecialType(original.m_nType) && desktop.FindIconOfType(original.m_nType) >= 0) {
            continue;
        }
        CInfoFolder icon = original;
        icon.m_nFlag = static_cast<int>(desktop.m_arrFolder.size()) + 1;
        desktop.m_arrFolder.push_back(std::move(icon));
        const ItemRef ref{ItemKind::Icon, int(desktop.m_arrFolder.size()) - 1};
        MoveItem(session, ref, dx, dy);
        CInfoFolder& placed = desktop.m_arrFolder.back();
        placed.m_nX = placed.m_rcItem.left;
        placed.m_nY = placed.m_rcItem.top;
        added.push_back(ref);
    }
    for (const ClipboardItems::Label& original : items.labels) {
        const int slot = desktop.FirstFreeLabelSlot();
        if (slot < 0) {
            ui.ShowMessage(QString::fromUtf8(kNoMoreLabelsMessage));
            break;
        }
        desktop.m_label[std::size_t(slot)] = original.label;
        desktop.m_crLabel[std::size_t(slot)] = original.colour;
        desktop.m_bLabelUsed[std::size_t(slot)] = 1;
        const ItemRef ref{ItemKind::Label, slot};
        MoveItem(session, ref, dx, dy);
        added.push_back(ref);
    }
    for (const CInfoUserImage& original : items.pictures) {
        desktop.m_arrUserImage.push_back(original);
        const ItemRef ref{ItemKind::Picture, int(desktop.m_arrUserImage.size()) - 1};
        MoveItem(session, ref, dx, dy);
        added.push_back(ref);
    }
    return added;
}

Selection DuplicateSelection(DesktopSession& session, const Selection& selection, int toolbarHeight,
                             CommandUi& ui) {
    const ClipboardItems copied = CopySelection(session, selection, toolbarHeight);
    if (copied.empty()) {
        return {};
    }
    const QPoint to = copied.origin + QPoint(kDuplicateOffset, kDuplicateOffset);
    return PasteItems(session, copied, to, ui);
}

Selection ItemsOffCanvas(const DesktopSession& session, int width, int height) {
    Selection outside;
    for (const ItemRef item : SelectAll(session)) {
        const ItemRect rect = ItemBounds(session, item, kToolbarHeight);
        const bool inside =
            rect.right > 0 && rect.left < width && rect.bottom > 0 && rect.top < height;
        if (!inside) {
            outside.push_back(item);
        }
    }
    return outside;
}

void MoveInsideCanvas(DesktopSession& session, const Selection& items, int width, int height) {
    for (const ItemRef item : items) {
        const ItemRect rect = ItemBounds(session, item, kToolbarHeight);
        const Wide w = Wide{rect.right} - rect.left;
        const Wide h = Wide{rect.bottom} - rect.top;
        const Wide left = std::clamp<Wide>(rect.left, 0, std::max<Wide>(0, width - w));
        const Wide top = std::clamp<Wide>(rect.top, 0, std::max<Wide>(0, height - h));
        MoveItem(session, item, ToInt(left - rect.left), ToInt(top - rect.top));
    }
}

}  // namespace vodirev
