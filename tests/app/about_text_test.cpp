// F1's text: the address as the operator would write it in VERADA_SERVER, and the
// keys of the menus.

#include "app/about_text.h"

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
