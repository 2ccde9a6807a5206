#pragma once

#include <string>

namespace vodirev {

// One program entry of a menu list line.
class CInfoIcon {
public:
    int m_nFolder = 0;  // m_nFlag of the desktop folder it belongs to; 0 = in no folder
    std::string m_strImage;
    std::string m_strName;
    std::string m_strDir;  // "SYSTEM" for system entries
    std::string m_strProgram;
    std::string m_strUrl;  // "SYSTEM" for system entries

    bool operator==(const CInfoIcon&) const = default;
};

}  // namespace vodirev
