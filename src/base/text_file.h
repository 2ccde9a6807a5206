#pragma once
// Line-oriented text files as the list files, the launcher file and the layout file
// are kept: CP949 bytes, lines ended by LF or CR LF on reading, CR LF on writing.

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

class QIODevice;

namespace vodirev {

// The longest line a list reader takes, without its line end.
inline constexpr std::size_t kMaxLineBytes = 1023;

struct TextLine {
    // The line without its line end. A line end is "\n" or "\r\n"; any other CR byte
    // is part of the text (it is neither dropped nor taken as a line break).
    std::string text;
    // False only for a last line that ends at the end of the file.
    bool hasLineEnd = false;
    // The line held more than kMaxLineBytes bytes. text then holds its first
    // kMaxLineBytes bytes, cut at a whole CP949 character; the rest of the line up to
    // and including its line end was consumed, so the tail never becomes a line of its
    // own. List readers skip such a line: a cut path or field would name something else.
    bool tooLong = false;

    // Length as a fixed-buffer reader sees it: the text plus one byte for the line end.
    std::size_t lengthWithLineEnd() const { return text.size() + (hasLineEnd ? 1 : 0); }
};

// Reads a text file line after line. A NUL byte is an ordinary byte of the line.
class TextLineReader {
public:
    explicit TextLineReader(const QString& path);      // opened for reading, or not open
    explicit TextLineReader(const QByteArray& bytes);  // reads from memory
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    bool isOpen() const;
    // The next line; false at the end of the file (or when the file is not open).
    bool readLine(TextLine& line);

private:
    bool fill();

    std::unique_ptr<QIODevice> m_device;  // null when reading from memory
    bool m_open = false;
    QByteArray m_buffer;  // bytes [m_pos, m_end) not yet read
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
};

// The text with every "\n" written as "\r\n", as a text-mode write stores it.
std::string ToCrLf(std::string_view text);

// Writes the whole file (every "\n" as CR LF) through a temporary file renamed over
// the old one: a failure leaves the old file as it was. Returns success.
bool WriteTextFile(const QString& path, std::string_view text);

// Appends to the file (created when missing), every "\n" as CR LF. Returns success.
bool AppendTextFile(const QString& path, std::string_view text);

}  // namespace vodirev
