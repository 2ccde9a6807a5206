#include "document/layout_writer.h"

#include "document/desktop_info.h"

#include <cstdint>

// Texts are inserted into the templates as data (never as a format), so "%" and every
// CP949 byte pass unchanged. The characters that would end an XML text or attribute
// are written as entities: unescaped, one link such as "a?x=1&y=2" makes the whole file
// unreadable for every strict XML reader, which then shows no desktop at all.

namespace vodirev {

namespace {

std::string Escape(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += attribute ? "&quot;" : "\"";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

void AppendNumber(std::string& out, long long value) {
    out += std::to_string(value);
}

// Appends pieces in order: string views verbatim, numbers in decimal.
struct Line {
    std::string& out;
    Line& operator<<(std::string_view text) {
        out += text;
        return *this;
    }
    Line& operator<<(long long value) {
        AppendNumber(out, value);
        return *this;
    }
    Line& operator<<(int value) { return *this << static_cast<long long>(value); }
};

}  // namespace

std::string EscapeXmlText(std::string_view text) {
    return Escape(text, false);
}

std::string EscapeXmlAttribute(std::string_view text) {
    return Escape(text, true);
}

std::string BuildLayoutText(const CDesktopInfo& doc, int resWidth, int resHeight,
                            bool withPictures) {
    std::string out;
    out.reserve(512 + doc.m_arrFolder.size() * 256 + doc.m_arrUserImage.size() * 96);
    Line line{out};

    line << "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\n"
         << "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\n";

    line << "<background name=\"bg\" width=\"" << resWidth << "\" height=\"" << resHeight << "\">\n"
         << "<image>" << EscapeXmlText(doc.m_szBackground) << "</image>\n"
         << "</background>\n";

    long long number = 0;
    for (const CInfoFolder& icon : doc.m_arrFolder) {
        const ItemRect& rc = icon.m_rcItem;
        // Widths in 64 bits: an absurd rectangle must not overflow.
        const long long width = static_cast<long long>(rc.right) - rc.left;
        const long long height = static_cast<long long>(rc.bottom) - rc.top;
        line << "<icon name=\"icon" << ++number << "\" x=\"" << rc.left << "\" y=\"" << rc.top
             << "\" width=\"" << width << "\" height=\"" << height << "\"  flag=\"" << icon.m_nFlag
             << "\"  type=\"" << icon.m_nType << "\" showflag=\"" << (icon.m_bShow ? "1" : "0")
             << "\" >\n"
             << "<title> " << EscapeXmlText(icon.m_strTitle) << "</title>\n"
             << "<image> " << EscapeXmlText(icon.m_szImage) << "</image>\n"
             << "<link>" << EscapeXmlText(icon.m_strLink) << "</link>\n"
             << "<dir></dir>\n"
             << "</icon>\n";
    }

    int written = 0;
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!doc.m_bLabelUsed[slot]) {
            continue;
        }
        const CInfoLabel& label = doc.m_label[slot];
        const ColorRef color = doc.m_crLabel[slot];
        line << "<window name=\"title\" x=\"" << label.m_nX << "\" y=\"" << label.m_nY
             << "\" height=\"" << label.m_nHeight << "\" weight=\"" << label.m_nWeight
             << "\" flag=\"" << written++ << "\"  charset=\"" << label.m_nCharset
             << "\" fontname=\"" << EscapeXmlAttribute(label.m_szFont) << "\" colorr=\""
             << RedOf(color) << "\" colorg=\"" << GreenOf(color) << "\" colorb=\"" << BlueOf(color)
             << "\">\n"
             << "<title> " << EscapeXmlText(label.m_strText) << " </title>\n"
             << "</window>\n";
    }

    if (withPictures) {
        for (const CInfoUserImage& picture : doc.m_arrUserImage) {
            line << "<image name=\"image\" x=\"" << picture.m_nX << "\" y=\"" << picture.m_nY
                 << "\"><path>" << EscapeXmlText(picture.m_strPath) << "</path></image>\n";
        }
    }

    line << "</desktop>\n";
    return out;
}

}  // namespace vodirev
