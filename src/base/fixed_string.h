#pragma once
// A fixed character array of the data model (char[N], NUL-terminated): holds at
// most N - 1 bytes, cut at a whole CP949 character when a longer text is assigned.

#include "base/text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vodirev {

template <std::size_t N>
class FixedString {
public:
    static constexpr std::size_t kMaxBytes = N - 1;

    FixedString() = default;
    FixedString(std::string_view text) { assign(text); }    // NOLINT: behaves like char[N]
    FixedString(const char* text) { assign(text); }         // NOLINT
    FixedString(const std::string& text) { assign(text); }  // NOLINT

    FixedString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    FixedString& operator=(const char* text) {
        assign(text);
        return *this;
    }
    FixedString& operator=(const std::string& text) {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) { m_text = cutCp949(text, kMaxBytes); }
    void clear() { m_text.clear(); }

    const std::string& str() const { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    std::size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }
    operator std::string_view() const { return m_text; }  // NOLINT

    friend bool operator==(const FixedString& a, std::string_view b) { return a.m_text == b; }

private:
    std::string m_text;
};

// A template, so that no text converts to a FixedString to be compared.
template <std::size_t N>
bool operator==(const FixedString<N>& a, const FixedString<N>& b) {
    return a.str() == b.str();
}

}  // namespace vodirev
