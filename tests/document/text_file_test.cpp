#include "base/text_file.h"

#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <string>
#include <vector>

using namespace vodirev;
using vodirev::test::ReadFileBytes;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;

namespace {

std::vector<TextLine> ReadAll(const std::string& bytes) {
    TextLineReader reader(QByteArray(bytes.data(), qsizetype(bytes.size())));
    std::vector<TextLine> lines;
    TextLine line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(TextLineReader, SplitsAtLfAndCrLfAndKeepsEveryOtherByte) {
    const auto lines = ReadAll(std::string("a\r\nb\nlast"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "a");
    EXPECT_TRUE(lines[0].hasLineEnd);
    EXPECT_EQ(lines[1].text, "b");
    EXPECT_TRUE(lines[1].hasLineEnd);
    EXPECT_EQ(lines[2].text, "last");
    EXPECT_FALSE(lines[2].hasLineEnd);

    // A CR that does not precede the LF stays in the line and never splits it.
    const auto stray = ReadAll(std::string("x\ry\r\r\nz\r"));
    ASSERT_EQ(stray.size(), 2u);
    EXPECT_EQ(stray[0].text, "x\ry\r");
    EXPECT_EQ(stray[1].text, "z\r");
    EXPECT_FALSE(stray[1].hasLineEnd);

    // NUL bytes are ordinary bytes; an empty line is a line.
    const auto nul = ReadAll(std::string("a\0b\n\n", 5));
    ASSERT_EQ(nul.size(), 2u);
    EXPECT_EQ(nul[0].text, std::string("a\0b", 3));
    EXPECT_EQ(nul[1].text, "");
    EXPECT_EQ(nul[1].lengthWithLineEnd(), 1u);

    EXPECT_TRUE(ReadAll("").empty());
    TextLineReader missing(QStringLiteral("/nonexistent/LIST_MENU.db"));
    EXPECT_FALSE(missing.isOpen());
    TextLine line;
    EXPECT_FALSE(missing.readLine(line));
}

TEST(TextLineReader, LongLineIsOneTooLongLineAndItsTailNoRecord) {
    const std::string fits(kMaxLineBytes, 'a');
    const std::string over(kMaxLineBytes + 1, 'b');
    const auto lines = ReadAll(fits + "\r\n" + over + "\nnext\n" + fits);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, fits);
    EXPECT_FALSE(lines[0].tooLong);
    EXPECT_TRUE(lines[1].tooLong);
    EXPECT_EQ(lines[1].text, std::string(kMaxLineBytes, 'b'));
    EXPECT_TRUE(lines[1].hasLineEnd);
    EXPECT_EQ(lines[2].text, "next");
    EXPECT_EQ(lines[3].text, fits);
    EXPECT_FALSE(lines[3].tooLong);

    // Far longer than the read chunk, then a line that must still be found.
    const auto huge = ReadAll(std::string(300000, 'c') + "\r\nok");
    ASSERT_EQ(huge.size(), 2u);
    EXPECT_TRUE(huge[0].tooLong);
    EXPECT_EQ(huge[1].text, "ok");

    // The kept part of a long line ends on a whole CP949 character: a two-byte
    // character straddling the limit is left out whole.
    const std::string hangul = std::string(kMaxLineBytes - 1, 'd') + "\xC7\xD1" + "tail";
    const auto cut = ReadAll(hangul);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_TRUE(cut[0].tooLong);
    EXPECT_EQ(cut[0].text, std::string(kMaxLineBytes - 1, 'd'));
}

TEST(TextFileWriting, WritesCrLfAtomicallyAndAppends) {
    ScopedWorkDir dir;
    const QString path = dir.filePath(QStringLiteral("LIST_IMAGE_001.db"));
    WriteFileBytes(path, "old content that is longer");
    ASSERT_TRUE(WriteTextFile(path, "a\nb\r\nc"));
    EXPECT_EQ(ReadFileBytes(path), QByteArray("a\r\nb\r\r\nc"));

    ASSERT_TRUE(AppendTextFile(path, "d\n"));
    EXPECT_EQ(ReadFileBytes(path), QByteArray("a\r\nb\r\r\nc"
                                              "d\r\n"));
    const QString fresh = dir.filePath(QStringLiteral("LIST_FOLDER_USER.db"));
    ASSERT_TRUE(AppendTextFile(fresh, "x\n"));
    EXPECT_EQ(ReadFileBytes(fresh), QByteArray("x\r\n"));

    // A file that cannot be written reports failure and leaves nothing behind.
    EXPECT_FALSE(WriteTextFile(dir.filePath(QStringLiteral("no/such/folder/a.xml")), "x"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no"))));
}
