#pragma once

#include <string>

namespace vodirev {

// One folder image offered when a folder's or shortcut's image is changed.
class CInfoImage {
public:
    std::string m_strPath;
};

}  // namespace vodirev
