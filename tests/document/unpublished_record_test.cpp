// The record of files that hold edits the server lacks: what is written reads back,
// and nothing in it may name a file outside the working folder.

#include "document/unpublished_record.h"

#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace vodirev;
using vodirev::test::ReadFileBytes;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;
using Files = std::vector<std::string>;

TEST(UnpublishedRecord, WritesReadsBackAndRemovesItselfWhenEmpty) {
    ScopedWorkDir work;
    EXPECT_TRUE(ReadUnpublishedRecord().files.empty());  // no record yet

    const std::string hangul = "images\\user\\\xBB\xE7\xC1\xF8.png";  // 사진 in CP949
    ASSERT_TRUE(WriteUnpublishedRecord(
        {"R1", {"desktop001.xml", hangul, "desktop001.xml", "..\\x", "C:\\x", "/etc/passwd", ""}}));
    EXPECT_EQ(ReadFileBytes(kUnpublishedRecordFile),
              QByteArray("room=R1\r\ndesktop001.xml\r\n") + hangul.c_str() + "\r\n");
    const UnpublishedRecord read = ReadUnpublishedRecord();
    EXPECT_EQ(read.roomId, "R1");
    EXPECT_EQ(read.files, (Files{"desktop001.xml", hangul}));

    // Only the files that are here, and only for the record's room.
    WriteFileBytes("desktop001.xml", "x");
    EXPECT_EQ(KeptUnpublishedFiles("R1"), Files{"desktop001.xml"});
    EXPECT_TRUE(KeptUnpublishedFiles("R10").empty());

    ASSERT_TRUE(WriteUnpublishedRecord({"R1", {}}));
    EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));
    EXPECT_TRUE(WriteUnpublishedRecord({"R1", {"..\\only-unsafe"}}));
    EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));
}
