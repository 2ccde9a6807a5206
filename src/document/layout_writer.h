#pragma once
// The layout file's text, built from fixed templates that the server and the client
// PCs read: every blank and every attribute's place is part of the format.

#include <string>
#include <string_view>

namespace vodirev {

class CDesktopInfo;

// The whole layout text with "\n" line ends (WriteTextFile stores each as CR LF).
// The background carries resWidth x resHeight (the resolution being designed);
// icons take their position and size from m_rcItem; label slots in use are written
// in slot order and numbered 0, 1, ... as written; pictures are written only when
// withPictures is set (the picture list of the same save could be created).
std::string BuildLayoutText(const CDesktopInfo& doc, int resWidth, int resHeight,
                            bool withPictures);

// Text as it goes into element content: "&", "<" and ">" become entities, every other
// byte stays (CP949 trail bytes never take these values). A text without them comes
// back unchanged, so the templates' bytes hold for every ordinary text.
std::string EscapeXmlText(std::string_view text);
// The same for an attribute value, where '"' also becomes "&quot;".
std::string EscapeXmlAttribute(std::string_view text);

}  // namespace vodirev
