#include "document/layout_reader.h"

#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document_test_util.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vodirev;
using namespace vodirev::test;

namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n"
    "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\r\n";

// Loads the body wrapped in the declaration and the desktop element.
CDesktopInfo LoadBody(const std::string& body, ImageCache* cache = nullptr) {
    WriteFileBytes(QStringLiteral("desktop001.xml"), Bytes(kHead + body + "</desktop>\r\n"));
    CDesktopInfo doc;
    if (cache) {
        EXPECT_EQ(doc.LoadDesktopXml(QStringLiteral("desktop001.xml"), *cache), 0);
    } else {
        EXPECT_EQ(doc.LoadDesktopXml(QStringLiteral("desktop001.xml")), 0);
    }
    return doc;
}

}  // namespace

TEST(LayoutReader, ReadsEveryElementKindInDocumentOrder) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/bkicons/64X64_16.gif"), 64, 64);
    WritePicture(QStringLiteral("images/bkicons/tall.gif"), 32, 48);
    WritePicture(QStringLiteral("images/background/bg.jpg"), 40, 30);
    WritePicture(QStringLiteral("images/user/3_a.png"), 5, 7);

    const CDesktopInfo doc = LoadBody(
        "<background name=\"bg\" width=\"1024\" height=\"768\">\r\n"
        "<image>images\\\\background\\\\bg.jpg</image>\r\n</background>\r\n"
        "<icon name=\"icon1\" x=\"10\" y=\"20\" width=\"64\" height=\"64\"  flag=\"3\"  type=\"1\" "
        "showflag=\"1\" >\r\n<title> " +
        std::string(kNewFolder) +
        "</title>\r\n<image> images\\bkicons\\tall.gif</image>\r\n"
        "<link>http://a/?x=1&amp;y=2</link>\r\n<dir>nf</dir>\r\n</icon>\r\n"
        "<launcher x=\"1\" y=\"2\" "
        "type=\"1\"><path>images\\bkicons\\launcherB.bmp</path></launcher>\r\n"
        "<unknown x=\"5\"><icon x=\"99\"/></unknown>\r\n"
        "<window name=\"title\" x=\"500\" y=\"150\" height=\"-24\" weight=\"700\" flag=\"2\"  "
        "charset=\"129\" fontname=\"" +
        std::string(kGulimChe) +
        "\" colorr=\"255\" colorg=\"128\" colorb=\"1\">\r\n<title> line1\r\nline2 </title>\r\n"
        "</window>\r\n"
        "<image name=\"image\" x=\"100\" y=\"110\"><path>images\\user\\3_a.png</path></image>\r\n"
        "<icon x=\"7\" y=\"8\" type=\"5\" "
        "flag=\"4\"><image>images\\bkicons\\64X64_16.gif</image></icon>\r\n");

    EXPECT_EQ(doc.m_nWidth, 1024);
    EXPECT_EQ(doc.m_nHeight, 768);
    EXPECT_EQ(doc.m_szBackground.str(), "images\\\\background\\\\bg.jpg");
    EXPECT_EQ(doc.m_imgBackground.size(), QSize(40, 30));

    ASSERT_EQ(doc.m_arrFolder.size(), 2u);  // the icon inside <unknown> is not read
    const CInfoFolder& icon = doc.m_arrFolder[0];
    EXPECT_EQ(icon.m_nX, 10);
    EXPECT_EQ(icon.m_nY, 20);
    EXPECT_EQ(icon.m_nType, 1);
    EXPECT_EQ(icon.m_nFlag, 3);
    EXPECT_EQ(icon.m_nWidth, 64);
    EXPECT_EQ(icon.m_bShow, 1);
    EXPECT_EQ(icon.m_strTitle, kNewFolder);  // the template's blank is trimmed
    EXPECT_EQ(icon.m_szImage.str(), "images\\bkicons\\tall.gif");
    EXPECT_EQ(icon.m_strLink, "http://a/?x=1&y=2");
    EXPECT_EQ(icon.m_szDir.str(), "nf");
    // The rectangle comes from the picture, not from width/height.
    EXPECT_EQ(icon.m_rcItem, (ItemRect{10, 20, 42, 68}));

    // Missing children and attributes: empty texts, zeros, title shown.
    const CInfoFolder& plain = doc.m_arrFolder[1];
    EXPECT_EQ(plain.m_nType, 5);
    EXPECT_EQ(plain.m_nWidth, 0);
    EXPECT_EQ(plain.m_bShow, 1);
    EXPECT_TRUE(plain.m_strTitle.empty());
    EXPECT_TRUE(plain.m_szDir.empty());
    EXPECT_EQ(plain.m_rcItem, (ItemRect{7, 8, 71, 72}));

    EXPECT_EQ(doc.m_bLabelUsed, (std::array<std::uint8_t, 5>{0, 0, 1, 0, 0}));
    const CInfoLabel& label = doc.m_label[2];
    EXPECT_EQ(label.m_nX, 500);
    EXPECT_EQ(label.m_nY, 150);
    EXPECT_EQ(label.m_nHeight, -24);
    EXPECT_EQ(label.m_nWeight, 700);
    EXPECT_EQ(label.m_nCharset, 129);
    EXPECT_EQ(label.m_szFont.str(), kGulimChe);
    EXPECT_EQ(label.m_strText, "line1\nline2");
    EXPECT_EQ(label.m_font.pixelSize(), 24);
    EXPECT_EQ(doc.m_crLabel[2], MakeColorRef(255, 128, 1));

    ASSERT_EQ(doc.m_arrUserImage.size(), 1u);
    EXPECT_EQ(doc.m_arrUserImage[0].m_strPath, "images\\user\\3_a.png");
    EXPECT_EQ(doc.m_arrUserImage[0].m_nX, 100);
    EXPECT_EQ(doc.m_arrUserImage[0].m_nY, 110);
    EXPECT_EQ(doc.m_arrUserImage[0].m_pBitmap.size(), QSize(5, 7));
}

TEST(LayoutReader, NumbersFlagsAndSlots) {
    ScopedWorkDir dir;
    const CDesktopInfo doc = LoadBody(
        "<icon x=\"99999999999\" y=\"-0x10\" flag=\"  12abc\" type=\"-99999999999\" "
        "showflag=\"0\"/>"
        "<icon showflag=\"yes\"/><icon showflag=\"10\"/><icon showflag=\"\"/>"
        "<window flag=\"5\" x=\"1\"><title>five</title></window>"
        "<window flag=\"-1\"><title>minus</title></window>"
        "<window flag=\"1\" x=\"1\" colorb=\"9\"><title>first</title></window>"
        "<window flag=\"1\" x=\"2\" colorr=\"257\" colorg=\"-1\"><title>second</title></window>"
        "<window flag=\"4abc\"><title>four</title></window>");

    ASSERT_EQ(doc.m_arrFolder.size(), 4u);
    EXPECT_EQ(doc.m_arrFolder[0].m_nX, INT_MAX);
    EXPECT_EQ(doc.m_arrFolder[0].m_nY, 0);
    EXPECT_EQ(doc.m_arrFolder[0].m_nFlag, 12);
    EXPECT_EQ(doc.m_arrFolder[0].m_nType, INT_MIN);
    // No picture at all (not even the default): an empty rectangle at the position.
    EXPECT_TRUE(doc.m_arrFolder[0].m_pBitmap.isNull());
    EXPECT_EQ(doc.m_arrFolder[0].m_rcItem, (ItemRect{INT_MAX, 0, INT_MAX, 0}));
    EXPECT_EQ(doc.m_arrFolder[0].m_bShow, 0);
    EXPECT_EQ(doc.m_arrFolder[1].m_bShow, 0);  // only a leading 1 means shown
    EXPECT_EQ(doc.m_arrFolder[2].m_bShow, 1);
    EXPECT_EQ(doc.m_arrFolder[3].m_bShow, 0);

    EXPECT_EQ(doc.m_bLabelUsed, (std::array<std::uint8_t, 5>{0, 1, 0, 0, 1}));
    EXPECT_EQ(doc.m_label[1].m_strText, "second");  // the later element wins
    EXPECT_EQ(doc.m_label[1].m_nX, 2);
    EXPECT_EQ(doc.m_crLabel[1], MakeColorRef(1, 255, 0));  // low 8 bits of each
    EXPECT_EQ(doc.m_label[4].m_strText, "four");
}

TEST(LayoutReader, CutsTextsAtTheirByteLimitsOnWholeCharacters) {
    ScopedWorkDir dir;
    // 125 ASCII bytes and then Hangul: the 127-byte cut cannot keep half a character.
    const std::string dir126 = std::string(125, 'd') + kHan + kHan;
    const std::string bg = std::string(254, 'b') + kHan;
    const std::string face = std::string(31, 'f') + kHan;
    const CDesktopInfo doc = LoadBody("<background width=\"1\" height=\"2\"><image>" + bg +
                                      "</image></background>"
                                      "<icon><dir>" +
                                      dir126 + "</dir><image>" + std::string(200, 'i') +
                                      "</image></icon>"
                                      "<window flag=\"0\" fontname=\"" +
                                      face + "\"><title>t</title></window>");
    EXPECT_EQ(doc.m_szBackground.str(), std::string(254, 'b'));
    ASSERT_EQ(doc.m_arrFolder.size(), 1u);
    EXPECT_EQ(doc.m_arrFolder[0].m_szDir.str(), std::string(125, 'd') + kHan);
    // A cut image path names no file: the default picture takes its place.
    EXPECT_EQ(doc.m_arrFolder[0].m_szImage.str(), "images\\bkicons\\64X64_16.gif");
    EXPECT_EQ(doc.m_label[0].m_szFont.str(), std::string(31, 'f'));
}

TEST(LayoutReader, MissingUnsafeAndUndecodablePictures) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/bkicons/64X64_16.gif"), 64, 64);
    WriteFileBytes(QStringLiteral("images/bkicons/text.gif"), "not a picture");
    // A real picture outside the working folder, reachable with "..".
    WritePicture(dir.filePath(QStringLiteral("../outside_%1.png").arg(qint64(&dir))), 9, 9);
    const std::string outside = "..\\outside_" + std::to_string(qint64(&dir)) + ".png";
    const std::string absolute =
        QDir::cleanPath(dir.filePath(QStringLiteral("images/bkicons/64X64_16.gif"))).toStdString();

    const CDesktopInfo doc = LoadBody(
        "<icon x=\"1\" y=\"2\"><image>images\\bkicons\\gone.gif</image><title>kept</title></icon>"
        "<icon x=\"1\" y=\"2\"><image>" +
        outside +
        "</image></icon>"
        "<icon x=\"1\" y=\"2\"><image>" +
        absolute +
        "</image></icon>"
        "<icon x=\"3\" y=\"4\"><image>images\\bkicons\\text.gif</image></icon>"
        "<image x=\"1\" y=\"1\"><path>" +
        outside +
        "</path></image>"
        "<image x=\"1\" y=\"1\"><path>images\\user\\gone.png</path></image>"
        "<background width=\"8\" height=\"9\"><image>" +
        outside + "</image></background>");

    ASSERT_EQ(doc.m_arrFolder.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(doc.m_arrFolder[i].m_szImage.str(), "images\\bkicons\\64X64_16.gif");
        EXPECT_EQ(doc.m_arrFolder[i].m_rcItem, (ItemRect{1, 2, 65, 66}));
    }
    EXPECT_EQ(doc.m_arrFolder[0].m_strTitle, "kept");
    // Present but undecodable: kept, no bitmap, empty rectangle.
    EXPECT_EQ(doc.m_arrFolder[3].m_szImage.str(), "images\\bkicons\\text.gif");
    EXPECT_TRUE(doc.m_arrFolder[3].m_pBitmap.isNull());
    EXPECT_EQ(doc.m_arrFolder[3].m_rcItem, (ItemRect{3, 4, 3, 4}));

    ASSERT_EQ(doc.m_arrUserImage.size(), 2u);
    EXPECT_EQ(doc.m_arrUserImage[0].m_strPath, outside);  // kept, never opened
    EXPECT_TRUE(doc.m_arrUserImage[0].m_pBitmap.isNull());
    EXPECT_TRUE(doc.m_arrUserImage[1].m_pBitmap.isNull());
    EXPECT_EQ(doc.m_szBackground.str(), outside);
    EXPECT_TRUE(doc.m_imgBackground.isNull());
    QFile::remove(dir.filePath(QStringLiteral("../outside_%1.png").arg(qint64(&dir))));
}

TEST(LayoutReader, BadFilesLeaveTheDocumentAsConstructed) {
    ScopedWorkDir dir;
    ImageCache cache;
    const auto expectUntouched = [](const CDesktopInfo& doc) {
        EXPECT_TRUE(doc.m_arrFolder.empty());
        EXPECT_TRUE(doc.m_arrUserImage.empty());
        EXPECT_EQ(doc.m_bLabelUsed, (std::array<std::uint8_t, 5>{}));
        EXPECT_EQ(doc.m_nWidth, 0);
        EXPECT_TRUE(doc.m_szBackground.empty());
    };
    {
        CDesktopInfo doc;
        EXPECT_EQ(ReadLayoutFile(doc, QStringLiteral("desktop009.xml"), cache),
                  LayoutLoadStatus::kMissing);
        EXPECT_EQ(doc.LoadDesktopXml(QStringLiteral("desktop009.xml")), 0);
        expectUntouched(doc);
    }
    const char* broken[] = {
        "",
        "   \r\n",
        "<desktop><icon x=\"1\"><title>t</title></icon>",  // truncated
        "<desktop><icon x=\"1\"></desktop>",
        "<desktop><icon x=\"1\"/></desktop><desktop/>",  // two roots
        "<desktop><icon x=\"1\"/></desktop>text after the root",
        "<desktop><icon x=\"1\" <title/></icon></desktop>",
    };
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        WriteFileBytes(QStringLiteral("bad.xml"), text);
        CDesktopInfo doc;
        doc.m_bLabelUsed[2] = 1;  // cleared by every load
        EXPECT_EQ(ReadLayoutFile(doc, QStringLiteral("bad.xml"), cache),
                  LayoutLoadStatus::kNotWellFormed);
        expectUntouched(doc);
    }
}

TEST(LayoutReader, DecodesEntitiesReferencesAndCdata) {
    ScopedWorkDir dir;
    const CDesktopInfo doc = LoadBody(
        "<icon><title>a &lt;b&gt; &quot;c&quot; &apos;d&apos; &amp;amp;</title>"
        "<link>http://h/?a=1&b=2&unknown;&#;&#x110000;&#0;</link></icon>"
        "<icon><title>&#xD55C;&#54620;&#65;&#x1F600;</title>"
        "<link><![CDATA[&amp; <raw>]]> tail</link></icon>"
        "<window flag=\"0\" fontname=\"a&amp;b&#10;c\"><title>&#32; x &#32;</title></window>");
    ASSERT_EQ(doc.m_arrFolder.size(), 2u);
    EXPECT_EQ(doc.m_arrFolder[0].m_strTitle, "a <b> \"c\" 'd' &amp;");
    // A bare "&" and references that stand for no allowed character stay as written.
    EXPECT_EQ(doc.m_arrFolder[0].m_strLink, "http://h/?a=1&b=2&unknown;&#;&#x110000;&#0;");
    // Character references become CP949; a character CP949 lacks becomes '?'.
    EXPECT_EQ(doc.m_arrFolder[1].m_strTitle, std::string(kHan) + kHan + "A?");
    EXPECT_EQ(doc.m_arrFolder[1].m_strLink, "&amp; <raw> tail");
    EXPECT_EQ(doc.m_label[0].m_szFont.str(), "a&b\nc");
    EXPECT_EQ(doc.m_label[0].m_strText, "x");  // trimmed after decoding
}

// A layout declared UTF-8 (made by another tool) reads as the same desktop in the
// editor's code page: its Hangul title and picture path are found, not garbled.
TEST(LayoutReader, ConvertsALayoutDeclaredInAnotherEncoding) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/bkicons/폴더.gif"), 24, 20);
    const std::string utf8Body =
        "<desktop><icon x=\"3\"><title>새폴더</title><image>images\\bkicons\\폴더.gif</image>"
        "</icon></desktop>";
    ImageCache cache;
    for (const std::string head : {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                                   "\xEF\xBB\xBF<?xml version='1.0' encoding = 'utf-8' ?>"}) {
        WriteFileBytes(QStringLiteral("utf8.xml"), Bytes(head + utf8Body));
        CDesktopInfo doc;
        ASSERT_EQ(ReadLayoutFile(doc, QStringLiteral("utf8.xml"), cache), LayoutLoadStatus::kRead);
        ASSERT_EQ(doc.m_arrFolder.size(), 1u) << head;
        EXPECT_EQ(doc.m_arrFolder[0].m_strTitle, kNewFolder);
        EXPECT_EQ(doc.m_arrFolder[0].m_szImage.str(), Cp949("images\\bkicons\\폴더.gif"));
        EXPECT_EQ(doc.m_arrFolder[0].m_pBitmap.size(), QSize(24, 20));
    }

    // Declared UTF-8 but written in the code page: taken byte for byte, as before.
    WriteFileBytes(QStringLiteral("mislabelled.xml"),
                   Bytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><desktop><icon><title>" +
                         std::string(kNewFolder) + "</title></icon></desktop>"));
    CDesktopInfo doc;
    ASSERT_EQ(ReadLayoutFile(doc, QStringLiteral("mislabelled.xml"), cache),
              LayoutLoadStatus::kRead);
    ASSERT_EQ(doc.m_arrFolder.size(), 1u);
    EXPECT_EQ(doc.m_arrFolder[0].m_strTitle, kNewFolder);
}

TEST(LayoutReader, ReadsOnlyDirectChildrenOfDesktopElements) {
    ScopedWorkDir dir;
    WriteFileBytes(QStringLiteral("nested.xml"),
                   "<root><icon x=\"1\"/><desktop><icon x=\"2\"/><desktop><icon x=\"3\"/>"
                   "</desktop><icon x=\"4\"/></desktop><Desktop><icon x=\"5\"/></Desktop>"
                   "<desktop><Icon x=\"6\"/><icon X=\"7\" x=\"8\"/></desktop></root>");
    CDesktopInfo doc;
    ImageCache cache;
    ASSERT_EQ(ReadLayoutFile(doc, QStringLiteral("nested.xml"), cache), LayoutLoadStatus::kRead);
    std::vector<int> xs;
    for (const CInfoFolder& icon : doc.m_arrFolder) {
        xs.push_back(icon.m_nX);
    }
    EXPECT_EQ(xs, (std::vector<int>{2, 3, 4, 8}));

    // Comments, a document type and white space around the root are no text.
    WriteFileBytes(
        QStringLiteral("decorated.xml"),
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<!-- made by hand -->\r\n"
        "<!DOCTYPE desktop>\r\n<desktop><icon x=\"9\"/><!-- c --></desktop>\r\n<!-- end -->\r\n");
    CDesktopInfo decorated;
    ASSERT_EQ(ReadLayoutFile(decorated, QStringLiteral("decorated.xml"), cache),
              LayoutLoadStatus::kRead);
    ASSERT_EQ(decorated.m_arrFolder.size(), 1u);
    EXPECT_EQ(decorated.m_arrFolder[0].m_nX, 9);
}

TEST(LayoutReader, DecodesEachDistinctPictureOnce) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/bkicons/a.gif"), 16, 16);
    WritePicture(QStringLiteral("images/bkicons/b.gif"), 8, 8);
    std::string body;
    for (int i = 0; i < 10; ++i) {
        body += "<icon><image>images\\bkicons\\a.gif</image></icon>";
        body += "<icon><image>images\\\\bkicons\\\\b.gif</image></icon>";
        body += "<icon><image>images\\bkicons\\b.gif</image></icon>";
        body += "<image><path>images\\bkicons\\missing.png</path></image>";
    }
    body += "<background><image>images\\bkicons\\a.gif</image></background>";
    ImageCache cache;
    const CDesktopInfo doc = LoadBody(body, &cache);
    EXPECT_EQ(cache.DecodeCount(), 3);  // a, b (both spellings), the missing picture
    ASSERT_EQ(doc.m_arrFolder.size(), 30u);
    EXPECT_EQ(doc.m_arrFolder[0].m_pBitmap.cacheKey(), doc.m_arrFolder[27].m_pBitmap.cacheKey());
    EXPECT_EQ(doc.m_arrFolder[1].m_pBitmap.cacheKey(), doc.m_arrFolder[2].m_pBitmap.cacheKey());
    EXPECT_EQ(doc.m_imgBackground.cacheKey(), doc.m_arrFolder[0].m_pBitmap.cacheKey());
    EXPECT_EQ(doc.m_arrFolder[1].m_rcItem, (ItemRect{0, 0, 8, 8}));
}
