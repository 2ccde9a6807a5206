// What the editor says about itself: F1 (the address as VERADA_SERVER would name it,
// the menus' keys) and the toolbar strip's tooltips.

#include "app/about_text.h"
#include "editor/toolbar_tips.h"

#include <gtest/gtest.h>

using namespace vodirev;

TEST(AboutText, NamesTheServerAsWrittenAndTheMenusKeys) {
    ServerAddress v6;
    v6.host = "::1";
    v6.port = 9000;
    const QString text = EditorAboutText(QStringLiteral("1.2.3"), QStringLiteral("/srv/room"), v6);
    EXPECT_TRUE(text.contains(QStringLiteral("[::1]:9000"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("VERADA_SERVER")));
    EXPECT_TRUE(text.contains(QStringLiteral("/srv/room")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ctrl+Shift+H")));
    EXPECT_EQ(text.count(QStringLiteral("Ctrl+Z")), 1);
}

// The strip's tooltips follow the x ranges its clicks act on; the canvas has none.
TEST(AboutText, StripButtonsHaveTipsAndTheCanvasNone) {
    EXPECT_TRUE(ToolbarTip(QPoint(1, 10), 30).startsWith(QStringLiteral("바탕화면 정리기")));
    EXPECT_TRUE(ToolbarTip(QPoint(141, 10), 30).startsWith(QStringLiteral("해상도 설정")));
    EXPECT_EQ(ToolbarTip(QPoint(251, 10), 30), QString());
    EXPECT_EQ(ToolbarTip(QPoint(50, 30), 30), QString());
}
