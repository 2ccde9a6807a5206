#include "base/text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <climits>

namespace vodirev {

// ICU's "CP949" is IBM's table (0x5C becomes the won sign, the extended Hangul of
// the Windows code page is missing); the system's text is Windows code page 949.
static constexpr const char* kCodePage = "windows-949";

QString fromCp949(std::string_view bytes) {
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid()) {
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }
    return decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string toCp949(const QString& text) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), std::size_t(latin.size()));
    }
    const QByteArray bytes = encoder(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

std::size_t cp949CharLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead >= 0x81 && lead <= 0xFE && pos + 1 < text.size()) {
        return 2;
    }
    return 1;
}

std::string cutCp949(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + cp949CharLength(text, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return std::string(text.substr(0, end));
}

static bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int leadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isWhite(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string_view trimWhite(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isWhite(text[begin])) {
        ++begin;
    }
    while (end > begin && isWhite(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

std::string_view Field(std::string_view line, char separator, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t next = line.find(separator, start);
        if (next == std::string_view::npos) {
            return {};
        }
        start = next + 1;
    }
    return line.substr(start, line.find(separator, start) - start);
}

}  // namespace vodirev
