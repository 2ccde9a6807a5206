#include "editor/toolbar_tips.h"

namespace vodirev {

QString ToolbarTip(QPoint client, int stripHeight) {
    if (client.y() <= 0 || client.y() >= stripHeight) {
        return QString();
    }
    if (client.x() >= 1 && client.x() <= 140) {
        return QStringLiteral(
            "바탕화면 정리기: 제목이 보이는 아이콘을 14개까지 화면 가운데에 두 줄로 늘어놓습니다.");
    }
    if (client.x() >= 141 && client.x() <= 250) {
        return QStringLiteral("해상도 설정: 클라이언트 PC 화면의 해상도를 고릅니다.");
    }
    return QString();
}

}  // namespace vodirev
