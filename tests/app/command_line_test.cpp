#include "session/startup_sequence.h"

#include "base/text.h"

#include <gtest/gtest.h>

using namespace vodirev;

TEST(CommandLine, SplitsRoomDesktopAndTemplate) {
    const auto a = ParseCommandLine("room7 3 0");
    EXPECT_EQ(a.roomId, "room7");
    EXPECT_EQ(a.desktop, 3);
    EXPECT_EQ(a.templ, 0);

    const auto b = ParseCommandLine("room7    3   1");
    EXPECT_EQ(b.roomId, "room7");
    EXPECT_EQ(b.desktop, 3);
    EXPECT_EQ(b.templ, 1);

    const auto onlyRoom = ParseCommandLine("room7");
    EXPECT_EQ(onlyRoom.roomId, "room7");
    EXPECT_EQ(onlyRoom.desktop, 0);
    EXPECT_EQ(onlyRoom.templ, 0);

    const auto leadingBlank = ParseCommandLine(" room7 3");
    EXPECT_EQ(leadingBlank.roomId, "");
    EXPECT_EQ(leadingBlank.desktop, 0);  // "room7" is the number word: no digits
}

TEST(CommandLine, ARoomIdInTheCodePageKeepsItsBytes) {
    const char* argv[] = {"VeradaVodirev", "\xB9\xE6\x31", "2", "0"};  // 방1 in CP949
    const auto cp949 = ParseCommandLine(toCp949(CommandLineFromArguments(4, argv)));
    EXPECT_EQ(cp949.roomId, "\xB9\xE6\x31");
    EXPECT_EQ(cp949.desktop, 2);

    const char* utf8[] = {"VeradaVodirev", "방1", "3"};
    EXPECT_EQ(ParseCommandLine(toCp949(CommandLineFromArguments(3, utf8))).roomId, "\xB9\xE6\x31");
}

TEST(CommandLine, CutsOverlongWordsInsteadOfOverflowing) {
    const auto a = ParseCommandLine("abcdefghijklmnopqrstuvwxyz 12345678901234 77");
    EXPECT_EQ(a.roomId, "abcdefghijklmnopqrs");  // 19 bytes
    EXPECT_EQ(a.desktop, 123456789);             // 9 digits
    EXPECT_EQ(a.templ, 77);

    // The whole line holds 63 bytes: a template number beyond them is lost.
    const std::string longLine = std::string(55, 'r') + " 5       9";
    const auto b = ParseCommandLine(longLine);
    EXPECT_EQ(b.roomId.size(), 19u);
    EXPECT_EQ(b.desktop, 5);
    EXPECT_EQ(b.templ, 0);

    // A Hangul room id is cut at a whole character.
    const std::string hangul =
        "\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB 1";
    EXPECT_EQ(ParseCommandLine(hangul).roomId.size(), 18u);
}
