#include "document/layout_reader.h"

#include "base/regular_file.h"
#include "base/text.h"
#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document/install_images.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <pugixml.hpp>

// Reading rules where the file leaves something open:
// - a missing numeric attribute reads as 0 (showflag excepted: absent means shown),
//   a missing child element as empty text;
// - an icon whose image exists but does not decode keeps a null bitmap and an empty
//   rectangle at (x, y); every user of m_rcItem copes with an empty one;
// - an icon image or picture path that is not a safe relative path (absolute, a drive
//   letter, "..", control bytes) is never opened: the icon gets the default image as
//   for a missing file, the picture is kept with a null bitmap, the background path
//   is kept with an empty image;
// - texts are taken byte for byte (CP949 as stored); entities are decoded here
//   rather than by pugixml so that a character reference becomes CP949, and a bare
//   "&" (as older writers left in links) is read as itself instead of losing the file.

namespace vodirev {

namespace {

bool IsXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The character reference at text[0] ("&#...;"): its length and the code point,
// or 0 when it is not a complete, allowed reference.
std::size_t ParseCharReference(std::string_view text, std::uint32_t& code) {
    std::size_t i = 2;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) {
        ++i;
    }
    const std::size_t digitsStart = i;
    std::uint32_t value = 0;
    for (; i < text.size() && i - digitsStart < 8; ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            break;
        }
        value = value * (hex ? 16 : 10) + std::uint32_t(digit);
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';' || !IsXmlChar(value)) {
        return 0;
    }
    code = value;
    return i + 1;
}

}  // namespace

std::string DecodeXmlText(std::string_view raw) {
    if (raw.find('&') == std::string_view::npos) {
        return std::string(raw);
    }
    static constexpr struct {
        std::string_view name;
        char value;
    } kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};

    std::string out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c != '&') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::string_view rest = raw.substr(i);
        std::size_t used = 0;
        for (const auto& entity : kEntities) {
            if (rest.substr(0, entity.name.size()) == entity.name) {
                out.push_back(entity.value);
                used = entity.name.size();
                break;
            }
        }
        if (used == 0 && rest.size() > 2 && rest[1] == '#') {
            std::uint32_t code = 0;
            used = ParseCharReference(rest, code);
            if (used != 0) {
                if (code < 0x80) {
                    out.push_back(char(code));
                } else {
                    const char32_t wide = code;
                    out += toCp949(QString::fromUcs4(&wide, 1));
                }
            }
        }
        if (used == 0) {
            out.push_back(c);
            used = 1;
        }
        i += used;
    }
    return out;
}

namespace {

// The encoding named in the XML declaration, lower case; empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
    if (!bytes.starts_with("<?xml")) {
        return {};
    }
    const std::size_t end = bytes.find("?>");
    const std::string_view declaration = bytes.substr(0, end);
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    std::size_t i = key + 8;
    while (i < declaration.size() &&
           (declaration[i] == ' ' || declaration[i] == '=' || declaration[i] == '\t' ||
            declaration[i] == '\r' || declaration[i] == '\n')) {
        ++i;
    }
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) {
        return {};
    }
    const std::size_t close = declaration.find(declaration[i], i + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    std::string name(declaration.substr(i + 1, close - i - 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

bool IsCodePage949Name(const std::string& name) {
    static constexpr std::string_view kNames[] = {
        "euc-kr", "euckr", "cp949", "windows-949", "x-windows-949", "ks_c_5601-1987", "uhc"};
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// The layout as CP949 bytes, the form the document holds. Files declared euc-kr (or
// not declaring anything) are taken byte for byte, as the editor writes them; a file
// declared in another encoding that Qt knows (UTF-8 above all, or marked by a UTF-16
// byte order mark) is converted, so its Hangul reads as Hangul.
QByteArray LayoutBytesAsCp949(const QByteArray& bytes) {
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
        QStringDecoder decoder(view[0] == '\xFF' ? QStringConverter::Utf16LE
                                                 : QStringConverter::Utf16BE);
        const QString text = decoder(QByteArrayView(bytes).sliced(2));
        return decoder.hasError() ? bytes : QByteArray::fromStdString(toCp949(text));
    }
    const bool utf8Mark = view.starts_with("\xEF\xBB\xBF");
    const std::string_view body = utf8Mark ? view.substr(3) : view;
    std::string name = DeclaredEncoding(body);
    if (name.empty() && utf8Mark) {
        name = "utf-8";
    }
    if (name.empty() || IsCodePage949Name(name)) {
        return bytes;
    }
    QStringDecoder decoder(name.c_str());
    if (!decoder.isValid()) {
        return bytes;  // an encoding nobody here knows: as it stands
    }
    const QString text = decoder(QByteArrayView(body.data(), qsizetype(body.size())));
    if (decoder.hasError()) {
        return bytes;
    }
    return QByteArray::fromStdString(toCp949(text));
}

// The next node after node in document order, staying inside root's subtree.
pugi::xml_node NextInTree(pugi::xml_node node, pugi::xml_node root) {
    if (pugi::xml_node child = node.first_child()) {
        return child;
    }
    while (node && node != root) {
        if (pugi::xml_node sibling = node.next_sibling()) {
            return sibling;
        }
        node = node.parent();
    }
    return {};
}

// Texts as the DOM's text property gives them: every text below the element
// concatenated, leading and trailing white space removed.
std::string ElementText(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node node = element.first_child(); node; node = NextInTree(node, element)) {
        if (node.type() == pugi::node_pcdata) {
            text += DecodeXmlText(node.value());
        } else if (node.type() == pugi::node_cdata) {
            text += node.value();
        }
    }
    return std::string(trimWhite(text));
}

// The first child element of that exact name; empty text when there is none.
std::string ChildText(pugi::xml_node element, const char* name) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && std::strcmp(child.name(), name) == 0) {
            return ElementText(child);
        }
    }
    return {};
}

pugi::xml_attribute FindAttribute(pugi::xml_node element, const char* name) {
    for (pugi::xml_attribute attr = element.first_attribute(); attr; attr = attr.next_attribute()) {
        if (std::strcmp(attr.name(), name) == 0) {
            return attr;
        }
    }
    return {};
}

std::string TextAttribute(pugi::xml_node element, const char* name) {
    const pugi::xml_attribute attr = FindAttribute(element, name);
    return attr ? DecodeXmlText(attr.value()) : std::string();
}

int NumberAttribute(pugi::xml_node element, const char* name) {
    return leadingInt(TextAttribute(element, name));
}

int SaturatedSum(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    return int(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

void ReadIcon(CDesktopInfo& doc, pugi::xml_node element, ImageCache& cache) {
    CInfoFolder icon;
    const int x = NumberAttribute(element, "x");
    const int y = NumberAttribute(element, "y");
    const pugi::xml_attribute showflag = FindAttribute(element, "showflag");
    icon.m_bShow = !showflag || DecodeXmlText(showflag.value()).starts_with('1') ? 1 : 0;
    icon.m_szImage = ChildText(element, "image");
    icon.m_strLink = ChildText(element, "link");
    icon.m_strTitle = ChildText(element, "title");
    icon.m_szDir = ChildText(element, "dir");
    if (!cache.NamesFile(icon.m_szImage)) {
        icon.m_szImage = kFolderImage;
    }
    icon.m_pBitmap = cache.Load(icon.m_szImage);
    icon.m_nX = x;
    icon.m_nY = y;
    icon.m_nType = NumberAttribute(element, "type");
    icon.m_nWidth = NumberAttribute(element, "width");
    icon.m_nHeight = NumberAttribute(element, "height");
    icon.m_nFlag = NumberAttribute(element, "flag");
    icon.m_rcItem = {x, y, SaturatedSum(x, icon.m_pBitmap.width()),
                     SaturatedSum(y, icon.m_pBitmap.height())};
    doc.m_arrFolder.push_back(std::move(icon));
}

void ReadBackground(CDesktopInfo& doc, pugi::xml_node element, ImageCache& cache) {
    doc.m_nWidth = NumberAttribute(element, "width");
    doc.m_nHeight = NumberAttribute(element, "height");
    doc.m_szBackground = ChildText(element, "image");
    doc.m_imgBackground = cache.Load(doc.m_szBackground);
}

void ReadWindow(CDesktopInfo& doc, pugi::xml_node element) {
    const int slot = NumberAttribute(element, "flag");
    if (slot < 0 || slot >= kLabelSlots) {
        return;
    }
    CInfoLabel& label = doc.m_label[slot];
    label.m_nX = NumberAttribute(element, "x");
    label.m_nY = NumberAttribute(element, "y");
    label.m_nHeight = NumberAttribute(element, "height");
    label.m_nWeight = NumberAttribute(element, "weight");
    label.m_nCharset = NumberAttribute(element, "charset");
    label.m_szFont.clear();
    label.m_szFont = TextAttribute(element, "fontname");
    label.m_strText = ChildText(element, "title");
    label.CreateFont();
    doc.m_crLabel[slot] =
        MakeColorRef(NumberAttribute(element, "colorr"), NumberAttribute(element, "colorg"),
                     NumberAttribute(element, "colorb"));
    doc.m_bLabelUsed[slot] = 1;
}

void ReadPicture(CDesktopInfo& doc, pugi::xml_node element, ImageCache& cache) {
    CInfoUserImage picture;
    picture.m_strPath = ChildText(element, "path");
    picture.m_nX = NumberAttribute(element, "x");
    picture.m_nY = NumberAttribute(element, "y");
    picture.m_pBitmap = cache.Load(picture.m_strPath);
    doc.m_arrUserImage.push_back(std::move(picture));
}

// A well-formed document has exactly one element at the top and no text beside it.
bool HasSingleRoot(const pugi::xml_document& xml) {
    int elements = 0;
    for (pugi::xml_node node = xml.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element) {
            ++elements;
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            return false;
        }
    }
    return elements == 1;
}

void ReadElement(CDesktopInfo& doc, pugi::xml_node element, ImageCache& cache) {
    const char* name = element.name();
    if (std::strcmp(name, "icon") == 0) {
        ReadIcon(doc, element, cache);
    } else if (std::strcmp(name, "background") == 0) {
        ReadBackground(doc, element, cache);
    } else if (std::strcmp(name, "window") == 0) {
        ReadWindow(doc, element);
    } else if (std::strcmp(name, "image") == 0) {
        ReadPicture(doc, element, cache);
    }
    // "launcher" is accepted and ignored (the launcher lives in its own file), as is
    // every other name.
}

}  // namespace

LayoutLoadStatus ReadLayoutFile(CDesktopInfo& doc, const QString& path, ImageCache& cache) {
    doc.m_bLabelUsed.fill(0);

    // Only a regular file: a FIFO would block for ever, a device never end.
    const std::unique_ptr<QFile> opened = OpenRegularFile(path);
    if (!opened) {
        return QFileInfo::exists(path) && !QFileInfo(path).isDir() ? LayoutLoadStatus::kRefused
                                                                   : LayoutLoadStatus::kMissing;
    }
    QFile& file = *opened;
    // Read in pieces: the size a special file reports cannot be trusted, and a
    // read of the whole limit at once would allocate all of it.
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(256 * 1024);
        if (piece.isEmpty()) {
            break;
        }
        bytes += piece;
        if (bytes.size() > kMaxLayoutFileBytes) {
            return LayoutLoadStatus::kRefused;
        }
    }
    return ReadLayoutBytes(doc, bytes, cache);
}

LayoutLoadStatus ReadLayoutBytes(CDesktopInfo& doc, const QByteArray& bytes, ImageCache& cache) {
    doc.m_bLabelUsed.fill(0);
    if (bytes.size() > kMaxLayoutFileBytes) {
        return LayoutLoadStatus::kRefused;
    }
    // Entities are decoded by DecodeXmlText, so pugixml must leave them alone.
    const QByteArray text = LayoutBytesAsCp949(bytes);
    pugi::xml_document xml;
    // As a fragment, so that text beside the root element shows and is refused below.
    const unsigned options =
        pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol | pugi::parse_fragment;
    const pugi::xml_parse_result parsed =
        xml.load_buffer(text.constData(), std::size_t(text.size()), options, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory) {
        return LayoutLoadStatus::kRefused;
    }
    if (!parsed || !HasSingleRoot(xml)) {
        return LayoutLoadStatus::kNotWellFormed;
    }

    // "//desktop/*": every element whose parent is a desktop element, in document order.
    pugi::xml_node root = xml;
    for (pugi::xml_node node = root.first_child(); node; node = NextInTree(node, root)) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        const pugi::xml_node parent = node.parent();
        if (parent.type() == pugi::node_element && std::strcmp(parent.name(), "desktop") == 0) {
            ReadElement(doc, node, cache);
        }
    }
    return LayoutLoadStatus::kRead;
}

int CDesktopInfo::LoadDesktopXml(const QString& path) {
    ImageCache cache;
    return LoadDesktopXml(path, cache);
}

int CDesktopInfo::LoadDesktopXml(const QString& path, ImageCache& cache) {
    return ReadLayoutFile(*this, path, cache) == LayoutLoadStatus::kRefused ? -1 : 0;
}

}  // namespace vodirev
