#pragma once
// Text as the system holds it: CP949 bytes. QString appears only at the edges
// (widgets, file names); every byte-counting rule works on the bytes.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// CP949 bytes to Unicode for display and for file names.
QString fromCp949(std::string_view bytes);
// Unicode to CP949 bytes; characters CP949 cannot hold become '?'.
std::string toCp949(const QString& text);

// Length in bytes of the CP949 character that starts at text[pos]: 2 for a lead
// byte (0x81..0xFE) that has a following byte, otherwise 1.
std::size_t cp949CharLength(std::string_view text, std::size_t pos);

// The longest prefix of text that is at most maxBytes long and does not split a
// two-byte character.
std::string cutCp949(std::string_view text, std::size_t maxBytes);

// Standard leading-integer conversion (atoi/atol): leading white space, an optional
// sign, then decimal digits up to the first other character; no digits give 0.
// Values beyond the int range are clamped instead of overflowing.
int leadingInt(std::string_view text);

// Text with leading and trailing white space (space, tab, CR, LF, FF, VT) removed.
std::string_view trimWhite(std::string_view text);

// The fields of a list line split at separator (',' or ';'): fields[i] is the text
// between the i-th and (i+1)-th separator, so there is always one more field than
// separators.
std::vector<std::string_view> SplitFields(std::string_view line, char separator);
// Field index (from 0) of a line split at separator; empty when missing.
std::string_view Field(std::string_view line, char separator, int index);

}  // namespace vodirev
