#pragma once

#include <string>

namespace vodirev {

// One background offered by the background picker, from one background line.
class CInfoBackground {
public:
    std::string m_strName;   // file title of m_strImage
    std::string m_strThumb;  // third field: fetched when missing, never shown
    std::string m_strImage;  // fourth field: shown and applied
};

}  // namespace vodirev
