#pragma once
// Test texts are written in UTF-8; the system's text is code page 949.

#include "base/text.h"

#include <QString>
#include <string>

namespace vodirev::test {

inline std::string Cp949(const char* utf8) {
    return toCp949(QString::fromUtf8(utf8));
}

}  // namespace vodirev::test
