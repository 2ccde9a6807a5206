#include "request_parsing.h"

#include <gtest/gtest.h>

namespace vodirev::server {
namespace {

using Params = std::vector<std::pair<std::string, std::string>>;

TEST(RequestTarget, SplitsRawBytesAndDecodesOnlyTheSpace) {
    RequestTarget t = parseTarget("/getTitle.jsp?id=R1&type=3");
    EXPECT_EQ(t.path, "/getTitle.jsp");
    EXPECT_EQ(t.params, (Params{{"id", "R1"}, {"type", "3"}}));
    ASSERT_NE(t.param("type"), nullptr);
    EXPECT_EQ(*t.param("type"), "3");
    EXPECT_EQ(t.param("kind"), nullptr);

    t = parseTarget("/pcroom/R1/images\\user\\3_\xBB\xE7\xC1\xF8%20x%41%2.jpg");
    EXPECT_EQ(t.path, "/pcroom/R1/images\\user\\3_\xBB\xE7\xC1\xF8 x%41%2.jpg");
    EXPECT_TRUE(t.params.empty());

    // A piece without '=' belongs to the value before it; '=' inside a value stays.
    t = parseTarget("/desktop_manager.jsp?id=R1&title=50%%20&%20more&x=a=b&&");
    EXPECT_EQ(t.params, (Params{{"id", "R1"}, {"title", "50% & more"}, {"x", "a=b&&"}}));

    t = parseTarget("/exist.jsp?fn=/pcroom/common/a?b");
    EXPECT_EQ(t.params, (Params{{"fn", "/pcroom/common/a?b"}}));
    t = parseTarget("/sync.jsp?");
    EXPECT_EQ(t.path, "/sync.jsp");
    EXPECT_TRUE(t.params.empty());
    t = parseTarget("/a?flag&b=");
    EXPECT_EQ(t.params, (Params{{"flag", ""}, {"b", ""}}));
}

TEST(MultipartBoundary, ReadsTheParameterOfAMultipartType) {
    EXPECT_EQ(
        multipartBoundary("multipart/form-data; boundary=---------------------------7d13a23b368"),
        "---------------------------7d13a23b368");
    EXPECT_EQ(multipartBoundary("Multipart/Form-Data;charset=x; BOUNDARY=\"a b\""), "a b");
    EXPECT_EQ(multipartBoundary("multipart/form-data"), "");
    EXPECT_EQ(multipartBoundary("text/plain; boundary=x"), "");
}

const std::string kBoundary = "---------------------------7d13a23b368";

std::string editorBody(const std::string& content) {
    const std::string delimiter = "--" + kBoundary + "\r\n";
    return delimiter + "Content-Disposition: form-data; name=\"id\"; value=\"R1\";\r\n" +
           delimiter +
           "Content-Disposition: form-data; name=\"R1/images/icons/a.png\"; "
           "filename=\"images\\icons\\a.png\"\r\nContent-Type: application/octet-stream\r\n\r\n" +
           content + "\r\n\r\n--" + kBoundary + "--\r\n";
}

TEST(ParseUpload, TakesTheEditorsBodyApart) {
    const std::string contents[] = {"png", "", "line\r\n", "\r\n--" + kBoundary + "x",
                                    std::string("a\0b", 3)};
    for (const std::string& content : contents) {
        const std::string body = editorBody(content);
        const auto upload = parseUpload(body, kBoundary);
        ASSERT_TRUE(upload) << content;
        EXPECT_EQ(upload->roomId, "R1");
        EXPECT_EQ(upload->name, "R1/images/icons/a.png");
        EXPECT_EQ(upload->filename, "images\\icons\\a.png");
        EXPECT_EQ(upload->content, content);
        // The file's bytes are not copied: an upload is held in memory once.
        EXPECT_GE(upload->content.data(), body.data());
        EXPECT_LE(upload->content.data() + upload->content.size(), body.data() + body.size());
    }
}

TEST(ParseUpload, ReadsAStandardFormAndRefusesBrokenOnes) {
    const auto standard = parseUpload(
        "--b\r\nContent-Disposition: form-data; name=\"id\"\r\n\r\nR2\r\n"
        "--b\r\ncontent-disposition: form-data; name=R2/x.txt; filename=x.txt\r\n\r\nxy\r\n--b--",
        "b");
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->roomId, "R2");
    EXPECT_EQ(standard->name, "R2/x.txt");
    EXPECT_EQ(standard->content, "xy");

    const std::string body = editorBody("png");
    const std::string broken[] = {
        body.substr(0, body.size() - 4),  // no closing delimiter
        body.substr(1),                   // does not open with one
        "--b\r\nContent-Disposition: form-data; name=\"id\"\r\n\r\nR2\r\n--b--\r\n",  // no file
        "--b\r\nContent-Disposition: form-data; name=\"\"; filename=\"x\"\r\n\r\nx\r\n--b--",
        "--b\r\nContent-Disposition: form-data; name=\"a\"; filename=\"x\"\r\n\r\nx\r\n"
        "--b\r\nContent-Disposition: form-data; name=\"b\"; filename=\"y\"\r\n\r\ny\r\n--b--",
        "--b\r\nContent-Disposition: form-data; name=\"a\"; filename=\"x\"\r\n\r\nno end",
        "--b\r\nContent-Disposition: form-data; name=\"a\"; filename=\"x",
        "",
    };
    for (const std::string& candidate : broken) {
        const std::string boundary = candidate.rfind("--b", 0) == 0 ? "b" : kBoundary;
        EXPECT_FALSE(parseUpload(candidate, boundary)) << candidate;
    }
    EXPECT_FALSE(parseUpload(body, ""));
    EXPECT_FALSE(parseUpload(body, "other"));
}

}  // namespace
}  // namespace vodirev::server
