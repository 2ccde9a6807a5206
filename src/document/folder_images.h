#pragma once
// The pictures the folder-type dialogs list: the folder images of "LIST_FOLDER.db"
// and "LIST_FOLDER_USER.db" at 64 x 64 and the program icons at 16 x 16. One opening
// of a dialog decodes and scales each distinct file once.

#include "document/image_cache.h"
#include "document/info_image.h"

#include <QImage>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vodirev {

inline constexpr int kFolderImageSize = 64;

// Decoded and scaled pictures by stored path, kept for one opening.
class IconPictures {
public:
    // The picture of path scaled to size x size; null when it does not decode or
    // scale.
    QImage Scaled(std::string_view storedPath, int size);
    int DecodeCount() const { return m_cache.DecodeCount(); }

private:
    ImageCache m_cache;
    std::map<std::pair<std::string, int>, QImage> m_scaled;
};

struct FolderImageEntry {
    CInfoImage image;     // the path as the list holds it
    std::string caption;  // CP949
    QImage picture;       // 64 x 64
};

// The row text of a folder image: the part of the path after its last "\" or "/",
// its last four characters (the extension) cut off, at most 63 bytes cut at a whole
// character.
std::string FolderImageCaption(std::string_view path);

// Every usable line of "LIST_FOLDER.db", then of "LIST_FOLDER_USER.db", in the
// working folder: lines of five bytes or fewer, and images that do not decode or
// scale, are left out. A missing list gives nothing.
std::vector<FolderImageEntry> LoadFolderImages(IconPictures& pictures);

}  // namespace vodirev
