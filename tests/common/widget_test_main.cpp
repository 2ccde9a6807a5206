// GoogleTest main with a QApplication on the offscreen platform, for widget suites.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "editor/korean_fonts.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    vodirev::InstallKoreanFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
