#include "base/text.h"
#include "base/fixed_string.h"

#include <gtest/gtest.h>

using namespace vodirev;

// "한글" in CP949
static const std::string kHangul = "\xC7\xD1\xB1\xDB";

TEST(Cp949Text, RoundTripsHangulThroughUnicode) {
    EXPECT_EQ(fromCp949(kHangul), QStringLiteral("한글"));
    EXPECT_EQ(toCp949(QStringLiteral("폴더  추가")).size(), 10u);
    EXPECT_EQ(toCp949(fromCp949(kHangul + "abc")), kHangul + "abc");
}

TEST(Cp949Text, UsesTheWindowsTableNotIbms) {
    // The backslash stays a backslash and the extended Hangul (0x81 0x41) decodes.
    EXPECT_EQ(fromCp949("a\\b"), QStringLiteral("a\\b"));
    EXPECT_EQ(fromCp949("\x81\x41"), QString(QChar(0xAC02)));
    EXPECT_EQ(toCp949(QString(QChar(0xAC02))), "\x81\x41");
}

TEST(Cp949Text, CutsOnlyAtWholeCharacters) {
    EXPECT_EQ(cutCp949(kHangul, 4), kHangul);
    EXPECT_EQ(cutCp949(kHangul, 3), kHangul.substr(0, 2));
    EXPECT_EQ(cutCp949("a" + kHangul, 2), "a");
    EXPECT_EQ(cutCp949("abc", 0), "");
    // A lone lead byte at the end counts as one character.
    EXPECT_EQ(cutCp949("ab\xC7", 3), "ab\xC7");
}

TEST(Cp949Text, FixedStringHoldsAtMostNMinusOneBytes) {
    FixedString<5> text;
    text = "abcdef";
    EXPECT_EQ(text.str(), "abcd");
    text = "ab" + kHangul;  // 6 bytes: the second syllable does not fit
    EXPECT_EQ(text.str(), "ab" + kHangul.substr(0, 2));
    FixedString<20> copy = text.str();
    EXPECT_EQ(copy, text.str());
}

TEST(LeadingInt, BehavesLikeAtoiWithoutOverflow) {
    EXPECT_EQ(leadingInt("12abc"), 12);
    EXPECT_EQ(leadingInt("  12abc"), 12);
    EXPECT_EQ(leadingInt("-0x10"), 0);
    EXPECT_EQ(leadingInt("-15"), -15);
    EXPECT_EQ(leadingInt("+7"), 7);
    EXPECT_EQ(leadingInt("abc"), 0);
    EXPECT_EQ(leadingInt(""), 0);
    EXPECT_EQ(leadingInt("99999999999"), 2147483647);
    EXPECT_EQ(leadingInt("-99999999999"), -2147483647 - 1);
}

TEST(TrimWhite, RemovesBothEnds) {
    EXPECT_EQ(trimWhite(" \t title \r\n"), "title");
    EXPECT_EQ(trimWhite("   "), "");
    EXPECT_EQ(trimWhite("a b"), "a b");
}
