#include "request_parsing.h"

#include <cctype>

namespace vodirev::server {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

struct Disposition {
    std::optional<std::string> name;
    std::optional<std::string> filename;
    std::optional<std::string> value;
};

// The parameters of a "Content-Disposition: form-data; a="x"; b="y"" line. Quoted
// values run to the next quote: CP949 never uses the quote byte inside a character.
Disposition parseDisposition(std::string_view line) {
    Disposition result;
    std::size_t pos = line.find(';');
    while (pos != std::string_view::npos && pos < line.size()) {
        ++pos;
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        const std::size_t eq = line.find('=', pos);
        if (eq == std::string_view::npos) {
            break;
        }
        const std::string key(trimSpaces(line.substr(pos, eq - pos)));
        std::string value;
        std::size_t next;
        if (eq + 1 < line.size() && line[eq + 1] == '"') {
            const std::size_t close = line.find('"', eq + 2);
            if (close == std::string_view::npos) {
                break;
            }
            value = std::string(line.substr(eq + 2, close - eq - 2));
            next = line.find(';', close + 1);
        } else {
            next = line.find(';', eq + 1);
            value = std::string(trimSpaces(line.substr(
                eq + 1, next == std::string_view::npos ? std::string_view::npos : next - eq - 1)));
        }
        if (startsWithNoCase(key, "name") && key.size() == 4) {
            result.name = value;
        } else if (startsWithNoCase(key, "filename") && key.size() == 8) {
            result.filename = value;
        } else if (startsWithNoCase(key, "value") && key.size() == 5) {
            result.value = value;
        }
        pos = next;
    }
    return result;
}

}  // namespace

std::string decodeSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "%20") == 0) {
            out.push_back(' ');
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

const std::string* RequestTarget::param(std::string_view name) const {
    for (const auto& [key, value] : params) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

RequestTarget parseTarget(std::string_view rawTarget) {
    RequestTarget target;
    const std::size_t question = rawTarget.find('?');
    target.path = decodeSpaces(rawTarget.substr(0, question));
    if (question == std::string_view::npos) {
        return target;
    }
    std::string_view query = rawTarget.substr(question + 1);
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view piece = query.substr(0, amp);
        const std::size_t eq = piece.find('=');
        if (eq == std::string_view::npos && !target.params.empty()) {
            target.params.back().second += '&';
            target.params.back().second += decodeSpaces(piece);
        } else if (eq == std::string_view::npos) {
            if (!piece.empty()) {
                target.params.emplace_back(decodeSpaces(piece), std::string());
            }
        } else {
            target.params.emplace_back(decodeSpaces(piece.substr(0, eq)),
                                       decodeSpaces(piece.substr(eq + 1)));
        }
        if (amp == std::string_view::npos) {
            break;
        }
        query.remove_prefix(amp + 1);
        if (query.empty()) {
            // A trailing '&' leaves an empty last piece.
            if (!target.params.empty()) {
                target.params.back().second += '&';
            }
            break;
        }
    }
    return target;
}

std::string multipartBoundary(std::string_view contentType) {
    if (!startsWithNoCase(trimSpaces(contentType), "multipart/form-data")) {
        return {};
    }
    std::size_t pos = 0;
    while ((pos = contentType.find(';', pos)) != std::string_view::npos) {
        ++pos;
        std::string_view param = trimSpaces(contentType.substr(pos));
        if (startsWithNoCase(param, "boundary=")) {
            param.remove_prefix(9);
            param = param.substr(0, param.find(';'));
            param = trimSpaces(param);
            if (param.size() >= 2 && param.front() == '"' && param.back() == '"') {
                param = param.substr(1, param.size() - 2);
            }
            return std::string(param);
        }
    }
    return {};
}

std::optional<UploadRequest> parseUpload(std::string_view body, std::string_view boundary) {
    if (boundary.empty()) {
        return std::nullopt;
    }
    const std::string delimiter = "--" + std::string(boundary);
    const std::string nextDelimiter = "\r\n" + delimiter;
    if (body.substr(0, delimiter.size()) != delimiter) {
        return std::nullopt;
    }
    std::size_t pos = delimiter.size();
    std::optional<UploadRequest> upload;
    std::string roomId;
    bool closed = false;
    while (pos <= body.size()) {
        if (body.compare(pos, 2, "--") == 0) {
            closed = true;
            break;
        }
        if (body.compare(pos, 2, "\r\n") != 0) {
            return std::nullopt;
        }
        pos += 2;
        // Header lines up to a blank line; the editor's "id" part has none and ends
        // at the next delimiter line instead.
        Disposition disposition;
        bool hasContent = false;
        for (;;) {
            const std::size_t lineEnd = body.find("\r\n", pos);
            if (lineEnd == std::string_view::npos) {
                return std::nullopt;
            }
            const std::string_view line = body.substr(pos, lineEnd - pos);
            if (line.empty()) {
                pos = lineEnd + 2;
                hasContent = true;
                break;
            }
            if (line.substr(0, delimiter.size()) == delimiter) {
                break;  // pos stays on the delimiter
            }
            if (startsWithNoCase(line, "content-disposition:")) {
                disposition = parseDisposition(line);
            }
            pos = lineEnd + 2;
        }
        std::string_view content;
        if (hasContent) {
            // Only a delimiter followed by "--" or a line end ends the content; the
            // same bytes followed by anything else are part of the file.
            std::size_t end = body.find(nextDelimiter, pos);
            while (end != std::string_view::npos) {
                const std::size_t after = end + nextDelimiter.size();
                if (body.compare(after, 2, "--") == 0 || body.compare(after, 2, "\r\n") == 0) {
                    break;
                }
                end = body.find(nextDelimiter, end + 1);
            }
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            content = body.substr(pos, end - pos);
            pos = end + nextDelimiter.size();
        } else {
            pos += delimiter.size();
        }
        if (disposition.filename) {
            if (upload || !disposition.name || disposition.name->empty()) {
                return std::nullopt;  // one named file per upload
            }
            if (content.size() >= 2 && content.substr(content.size() - 2) == "\r\n") {
                content.remove_suffix(2);
            }
            upload = UploadRequest{{}, *disposition.name, *disposition.filename, content};
        } else if (disposition.name == "id") {
            roomId = disposition.value ? *disposition.value : std::string(content);
        }
    }
    if (!closed || !upload) {
        return std::nullopt;
    }
    upload->roomId = roomId;
    return upload;
}

}  // namespace vodirev::server
