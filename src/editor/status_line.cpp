#include "editor/status_line.h"

#include "base/text.h"
#include "editor/hit_test.h"

namespace vodirev {

namespace {

QString KindName(const DesktopSession& session, ItemRef item) {
    switch (item.kind) {
        case ItemKind::Icon: {
            const CInfoFolder& icon = session.m_desktop.m_arrFolder[std::size_t(item.index)];
            return QStringLiteral("아이콘 \"%1\"").arg(fromCp949(icon.m_strTitle));
        }
        case ItemKind::Label:
            return QStringLiteral("문구 %1").arg(item.index + 1);
        case ItemKind::Picture:
            return QStringLiteral("이미지 %1").arg(item.index + 1);
        case ItemKind::Launcher:
            return QStringLiteral("런처");
    }
    return {};
}

QString Box(const ItemRect& rect) {
    return QStringLiteral("(%1, %2) %3×%4")
        .arg(rect.left)
        .arg(rect.top)
        .arg(qint64(rect.right) - rect.left)
        .arg(qint64(rect.bottom) - rect.top);
}

// The item the pointer is over, in the order a press grabs them.
std::optional<ItemRef> Hovered(const CanvasState& state) {
    if (state.m_bHoverLauncher) {
        return ItemRef{ItemKind::Launcher, 0};
    }
    if (state.m_nHoverFolder >= 0) {
        return ItemRef{ItemKind::Icon, state.m_nHoverFolder};
    }
    if (state.m_nHoverText >= 0) {
        return ItemRef{ItemKind::Label, state.m_nHoverText};
    }
    if (state.m_nHoverImage >= 0) {
        return ItemRef{ItemKind::Picture, state.m_nHoverImage};
    }
    return std::nullopt;
}

}  // namespace

QStringList StatusLines(const DesktopSession& session, const CanvasState& state,
                        const StatusFacts& facts) {
    const int strip = state.m_nToolbarHeight;
    QString first;
    if (state.m_bPointerInside && state.m_ptMouse.y() >= strip) {
        first =
            QStringLiteral("X %1, Y %2").arg(state.m_ptMouse.x()).arg(state.m_ptMouse.y() - strip);
    } else {
        first = QStringLiteral("X -, Y -");
    }
    Selection selection = state.m_selection;
    DropStale(session, selection);
    const std::optional<ItemRef> hovered = Hovered(state);
    if (selection.size() == 1) {
        first += QStringLiteral("   선택: %1 %2")
                     .arg(KindName(session, selection.front()),
                          Box(ItemBounds(session, selection.front(), strip)));
    } else if (!selection.empty()) {
        first += QStringLiteral("   선택: %1개 %2")
                     .arg(selection.size())
                     .arg(Box(SelectionBounds(session, selection, strip)));
    } else if (hovered && IsLive(session, *hovered)) {
        first += QStringLiteral("   %1 %2")
                     .arg(KindName(session, *hovered), Box(ItemBounds(session, *hovered, strip)));
    }

    QString server;
    if (!facts.serverAsked) {
        server = QStringLiteral("서버: 사용 안 함 (작업 폴더)");
    } else if (facts.serverReached) {
        server = QStringLiteral("서버: 시작할 때 연결됨");
    } else {
        server = QStringLiteral("서버: 시작할 때 연결 안 됨 (작업 폴더의 사본)");
    }
    if (facts.unpublishedFiles > 0) {
        server += QStringLiteral(", 게시 안 된 파일 %1개").arg(facts.unpublishedFiles);
    }
    server +=
        facts.modified ? QStringLiteral("   저장 안 된 변경 있음") : QStringLiteral("   변경 없음");
    return {first, server};
}

}  // namespace vodirev
