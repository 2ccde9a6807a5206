#pragma once
// Reading the layout file ("desktop%03d.xml", "desktop_d.xml") into the document.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace vodirev {

class CDesktopInfo;
class ImageCache;

enum class LayoutLoadStatus {
    kRead,           // the elements were read into the document
    kMissing,        // no such file, or it cannot be opened: nothing read
    kNotWellFormed,  // empty or not well-formed XML: nothing read
    kRefused,        // the reader refused the file (larger than kMaxLayoutFileBytes,
                     // or not a regular file: a FIFO, device or socket)
};

// A layout holds a few hundred elements; a file beyond this is not a layout.
inline constexpr qint64 kMaxLayoutFileBytes = 64 * 1024 * 1024;

// What CDesktopInfo::LoadDesktopXml does, with the reason when nothing was read.
LayoutLoadStatus ReadLayoutFile(CDesktopInfo& doc, const QString& path, ImageCache& cache);
// The same for the bytes of a layout file held in memory.
LayoutLoadStatus ReadLayoutBytes(CDesktopInfo& doc, const QByteArray& bytes, ImageCache& cache);

// Replaces the predefined entities (&amp; &lt; &gt; &quot; &apos;) and character
// references (&#65; &#xAC00;) of raw XML text by the characters they stand for, in
// CP949; a character CP949 lacks becomes '?'. Anything else after an '&' (a bare
// ampersand, an unknown entity, a reference to a character XML does not allow) stays
// as written.
std::string DecodeXmlText(std::string_view raw);

}  // namespace vodirev
