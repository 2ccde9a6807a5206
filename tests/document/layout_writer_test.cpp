#include "document/layout_writer.h"

#include "base/text_file.h"
#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document/layout_reader.h"
#include "document_test_util.h"

#include <gtest/gtest.h>

#include <QXmlStreamReader>

using namespace vodirev;
using namespace vodirev::test;

namespace {

CInfoFolder MakeIcon(ItemRect rc, int flag, int type, int show, const std::string& title,
                     const char* image, const std::string& link) {
    CInfoFolder icon;
    icon.m_nX = rc.left + 1;  // the writer takes the rectangle, not these
    icon.m_nY = rc.top + 1;
    icon.m_nWidth = 64;
    icon.m_nHeight = 64;
    icon.m_rcItem = rc;
    icon.m_nFlag = flag;
    icon.m_nType = type;
    icon.m_bShow = show;
    icon.m_strTitle = title;
    icon.m_szImage = image;
    icon.m_strLink = link;
    icon.m_szDir = "nf";
    return icon;
}

void SetLabel(CDesktopInfo& doc, int slot, int x, int y, int height, int weight, int charset,
              const char* face, const std::string& text, ColorRef color) {
    CInfoLabel& label = doc.m_label[slot];
    label.m_nX = x;
    label.m_nY = y;
    label.m_nHeight = height;
    label.m_nWeight = weight;
    label.m_nCharset = charset;
    label.m_szFont = face;
    label.m_strText = text;
    doc.m_crLabel[slot] = color;
    doc.m_bLabelUsed[slot] = 1;
}

CDesktopInfo SampleDocument() {
    CDesktopInfo doc;
    doc.m_nWidth = 800;  // the writer takes the resolution it is given
    doc.m_szBackground = "images\\background\\bg.jpg";
    doc.m_arrFolder.push_back(
        MakeIcon({10, 20, 74, 84}, 1, 1, 1, kNewFolder, "images\\bkicons\\64X64_16.gif", ""));
    doc.m_arrFolder.push_back(MakeIcon({100, 200, 132, 248}, 2, 2, 0, "100%",
                                       "images\\bkicons\\a.gif", "http://host/a?x=1&y=2"));
    SetLabel(doc, 0, 500, 150, -24, 1, 1, kGulimChe, "one\ntwo\nthree", MakeColorRef(255, 0, 128));
    SetLabel(doc, 3, 10, 20, -12, 700, 129, "Arial", "%d %s", MakeColorRef(1, 2, 3));
    doc.m_label[1].m_strText = "unused slot";  // not in use: never written
    CInfoUserImage picture;
    picture.m_strPath = "images\\user\\3_a.png";
    picture.m_nX = 100;
    picture.m_nY = 100;
    doc.m_arrUserImage.push_back(picture);
    return doc;
}

const std::string kHeadBytes =
    "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n"
    "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\r\n"
    "<background name=\"bg\" width=\"1024\" height=\"768\">\r\n"
    "<image>images\\background\\bg.jpg</image>\r\n"
    "</background>\r\n"
    "<icon name=\"icon1\" x=\"10\" y=\"20\" width=\"64\" height=\"64\"  flag=\"1\"  type=\"1\" "
    "showflag=\"1\" >\r\n"
    "<title> \xBB\xF5\xC6\xFA\xB4\xF5</title>\r\n"
    "<image> images\\bkicons\\64X64_16.gif</image>\r\n"
    "<link></link>\r\n"
    "<dir></dir>\r\n"
    "</icon>\r\n"
    "<icon name=\"icon2\" x=\"100\" y=\"200\" width=\"32\" height=\"48\"  flag=\"2\"  type=\"2\" "
    "showflag=\"0\" >\r\n"
    "<title> 100%</title>\r\n"
    "<image> images\\bkicons\\a.gif</image>\r\n"
    "<link>http://host/a?x=1&amp;y=2</link>\r\n"
    "<dir></dir>\r\n"
    "</icon>\r\n"
    "<window name=\"title\" x=\"500\" y=\"150\" height=\"-24\" weight=\"1\" flag=\"0\"  "
    "charset=\"1\" fontname=\"\xB1\xBC\xB8\xB2\xC3\xBC\" colorr=\"255\" colorg=\"0\" "
    "colorb=\"128\">\r\n"
    "<title> one\r\ntwo\r\nthree </title>\r\n"
    "</window>\r\n"
    "<window name=\"title\" x=\"10\" y=\"20\" height=\"-12\" weight=\"700\" flag=\"1\"  "
    "charset=\"129\" fontname=\"Arial\" colorr=\"1\" colorg=\"2\" colorb=\"3\">\r\n"
    "<title> %d %s </title>\r\n"
    "</window>\r\n";
const std::string kPictureBytes =
    "<image name=\"image\" x=\"100\" y=\"100\"><path>images\\user\\3_a.png</path></image>\r\n";
const std::string kTailBytes = "</desktop>\r\n";

QByteArray WrittenBytes(const CDesktopInfo& doc, bool withPictures) {
    EXPECT_TRUE(WriteTextFile(QStringLiteral("desktop001.xml"),
                              BuildLayoutText(doc, 1024, 768, withPictures)));
    return ReadFileBytes(QStringLiteral("desktop001.xml"));
}

}  // namespace

TEST(LayoutWriter, WritesTheTemplatesByteForByte) {
    ScopedWorkDir dir;
    const CDesktopInfo doc = SampleDocument();
    EXPECT_EQ(WrittenBytes(doc, true), Bytes(kHeadBytes + kPictureBytes + kTailBytes));
    // Without the picture list the pictures are left out.
    EXPECT_EQ(WrittenBytes(doc, false), Bytes(kHeadBytes + kTailBytes));

    CDesktopInfo empty;
    EXPECT_EQ(BuildLayoutText(empty, 0, 0, true),
              "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\n"
              "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\n"
              "<background name=\"bg\" width=\"0\" height=\"0\">\n<image></image>\n"
              "</background>\n</desktop>\n");
}

TEST(LayoutWriter, EscapesOnlyWhatWouldBreakTheXml) {
    EXPECT_EQ(EscapeXmlText("a&b<c>d\"e'f%s"), "a&amp;b&lt;c&gt;d\"e'f%s");
    EXPECT_EQ(EscapeXmlAttribute("a&b<c>d\"e"), "a&amp;b&lt;c&gt;d&quot;e");
    // CP949 bytes pass untouched, also trail bytes in the ASCII letter range.
    const std::string hangul = std::string(kNewFolder) + "\x81\x41\xFE\x5A";
    EXPECT_EQ(EscapeXmlText(hangul), hangul);

    CDesktopInfo doc;
    doc.m_szBackground = "images\\a&b.jpg";
    doc.m_arrFolder.push_back(MakeIcon({0, 0, 1, 1}, 1, 2, 1, "<b>&amp;</b>", "x\"y.gif", "l"));
    SetLabel(doc, 2, 0, 0, 0, 0, 0, "Face \"Q\" & <z>", "\"quoted\" & more", 0);
    CInfoUserImage picture;
    picture.m_strPath = "images\\user\\1_<&>.png";
    doc.m_arrUserImage.push_back(picture);
    const std::string text = BuildLayoutText(doc, 1, 1, true);
    EXPECT_NE(text.find("<image>images\\a&amp;b.jpg</image>"), std::string::npos);
    EXPECT_NE(text.find("<title> &lt;b&gt;&amp;amp;&lt;/b&gt;</title>"), std::string::npos);
    EXPECT_NE(text.find("<image> x\"y.gif</image>"), std::string::npos);
    EXPECT_NE(text.find("fontname=\"Face &quot;Q&quot; &amp; &lt;z&gt;\""), std::string::npos);
    EXPECT_NE(text.find("<title> \"quoted\" &amp; more </title>"), std::string::npos);
    EXPECT_NE(text.find("<path>images\\user\\1_&lt;&amp;&gt;.png</path>"), std::string::npos);

    // A strict XML reader accepts the result.
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    while (!xml.atEnd()) {
        xml.readNext();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST(LayoutWriter, RoundTripGivesTheDocumentBackAndTheSameBytes) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/bkicons/64X64_16.gif"), 64, 64);
    WritePicture(QStringLiteral("images/bkicons/a.gif"), 32, 48);
    WritePicture(QStringLiteral("images/background/bg.jpg"), 4, 4);
    WritePicture(QStringLiteral("images/user/3_a.png"), 6, 6);
    CDesktopInfo doc = SampleDocument();
    doc.m_arrFolder[1].m_strLink += "&z=<>";
    doc.m_arrFolder[1].m_rcItem = {100, 200, 180, 280};  // bigger than its picture
    const std::string first = BuildLayoutText(doc, 1024, 768, true);
    ASSERT_TRUE(WriteTextFile(QStringLiteral("desktop001.xml"), first));

    CDesktopInfo back;
    ImageCache cache;
    ASSERT_EQ(ReadLayoutFile(back, QStringLiteral("desktop001.xml"), cache),
              LayoutLoadStatus::kRead);
    EXPECT_EQ(back.m_nWidth, 1024);
    EXPECT_EQ(back.m_nHeight, 768);
    EXPECT_EQ(back.m_szBackground.str(), doc.m_szBackground.str());
    ASSERT_EQ(back.m_arrFolder.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const CInfoFolder& was = doc.m_arrFolder[i];
        const CInfoFolder& now = back.m_arrFolder[i];
        EXPECT_EQ(now.m_nX, was.m_rcItem.left);  // positions come from the rectangle
        EXPECT_EQ(now.m_nY, was.m_rcItem.top);
        EXPECT_EQ(now.m_nWidth, was.m_rcItem.width());
        EXPECT_EQ(now.m_nFlag, was.m_nFlag);
        EXPECT_EQ(now.m_nType, was.m_nType);
        EXPECT_EQ(now.m_bShow, was.m_bShow);
        EXPECT_EQ(now.m_strTitle, was.m_strTitle);
        EXPECT_EQ(now.m_szImage.str(), was.m_szImage.str());
        EXPECT_EQ(now.m_strLink, was.m_strLink);
        EXPECT_TRUE(now.m_szDir.empty());  // dirs are written empty
    }
    // The rectangle is the picture's size again.
    EXPECT_EQ(back.m_arrFolder[1].m_rcItem, (ItemRect{100, 200, 132, 248}));

    // Labels come back renumbered in slot order: slots 0 and 3 become 0 and 1.
    EXPECT_EQ(back.m_bLabelUsed, (std::array<std::uint8_t, 5>{1, 1, 0, 0, 0}));
    EXPECT_EQ(back.m_label[0].m_strText, "one\ntwo\nthree");
    EXPECT_EQ(back.m_label[1].m_strText, "%d %s");
    EXPECT_EQ(back.m_label[1].m_nCharset, 129);
    EXPECT_EQ(back.m_label[1].m_szFont.str(), "Arial");
    EXPECT_EQ(back.m_crLabel[0], doc.m_crLabel[0]);
    EXPECT_EQ(back.m_crLabel[1], doc.m_crLabel[3]);

    ASSERT_EQ(back.m_arrUserImage.size(), 1u);
    EXPECT_EQ(back.m_arrUserImage[0].m_strPath, "images\\user\\3_a.png");
    EXPECT_EQ(back.m_arrUserImage[0].m_pBitmap.size(), QSize(6, 6));

    // Writing what was read gives the same bytes, apart from the rectangle the
    // picture resized.
    CDesktopInfo expected = doc;
    expected.m_arrFolder[1].m_rcItem = {100, 200, 132, 248};
    EXPECT_EQ(BuildLayoutText(back, 1024, 768, true), BuildLayoutText(expected, 1024, 768, true));
}
