#include "base/text_file.h"

#include "base/regular_file.h"
#include "base/text.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace vodirev {

static constexpr qsizetype kChunkBytes = 16 * 1024;

TextLineReader::TextLineReader(const QString& path) {
    // Unbuffered: the reader keeps its own buffer. Only a regular file: a FIFO or
    // device would block or never end.
    if (auto file = OpenRegularFile(path)) {
        m_device = std::move(file);
        m_open = true;
    }
}

TextLineReader::TextLineReader(const QByteArray& bytes)
    : m_open(true), m_buffer(bytes), m_end(bytes.size()), m_atEnd(true) {}

TextLineReader::~TextLineReader() = default;

bool TextLineReader::isOpen() const {
    return m_open;
}

bool TextLineReader::fill() {
    if (!m_device || m_atEnd) {
        return false;
    }
    if (m_buffer.size() != kChunkBytes) {
        m_buffer.resize(kChunkBytes);
    }
    const qint64 count = m_device->read(m_buffer.data(), kChunkBytes);
    m_pos = 0;
    m_end = count > 0 ? qsizetype(count) : 0;
    if (m_end == 0) {
        m_atEnd = true;
        return false;
    }
    return true;
}

bool TextLineReader::readLine(TextLine& line) {
    line.text.clear();
    line.hasLineEnd = false;
    line.tooLong = false;

    // Keep one byte more than the limit: it may be the CR of a CR LF line end.
    constexpr std::size_t kKeep = kMaxLineBytes + 1;
    std::size_t total = 0;  // bytes before the LF, the CR of a CR LF included
    char last = 0;
    bool any = false;
    for (;;) {
        if (m_pos >= m_end && !fill()) {
            break;
        }
        any = true;
        const char* data = m_buffer.constData();
        const void* lf = std::memchr(data + m_pos, '\n', std::size_t(m_end - m_pos));
        const qsizetype end = lf ? static_cast<const char*>(lf) - data : m_end;
        const std::size_t count = std::size_t(end - m_pos);
        if (count > 0) {
            if (line.text.size() < kKeep) {
                line.text.append(data + m_pos, std::min(count, kKeep - line.text.size()));
            }
            total += count;
            last = data[end - 1];
        }
        m_pos = end;
        if (lf) {
            ++m_pos;
            line.hasLineEnd = true;
            break;
        }
    }
    if (!any) {
        return false;
    }
    const std::size_t length = total - (line.hasLineEnd && total > 0 && last == '\r' ? 1 : 0);
    if (length > kMaxLineBytes) {
        line.tooLong = true;
        line.text = cutCp949(line.text, kMaxLineBytes);  // holds kMaxLineBytes + 1 bytes here
    } else {
        line.text.resize(length);
    }
    return true;
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (const char c : text) {
        if (c == '\n') {
            out.push_back('\r');
        }
        out.push_back(c);
    }
    return out;
}

bool WriteTextFile(const QString& path, std::string_view text) {
    if (!IsReplaceableTarget(path)) {
        return false;  // a folder, FIFO or device is never replaced by a file
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const std::string bytes = ToCrLf(text);
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool AppendTextFile(const QString& path, std::string_view text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const std::string bytes = ToCrLf(text);
    const bool written = file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    return file.flush() && written;
}

}  // namespace vodirev
