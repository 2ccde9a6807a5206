#pragma once
// Decodes each distinct image once while a layout or a menu list is being read;
// the records then share the decoded pixels (QImage copies share them).

#include <QHash>
#include <QImage>
#include <QString>
#include <string_view>

namespace vodirev {

class ImageCache {
public:
    // The decoded image of a stored path ("images\bkicons\a.gif"), or a null image
    // when the file is missing or does not decode. Paths that are not safe relative
    // paths are never opened and give a null image. The single and the doubled
    // backslash forms of a path name the same file and share one decode.
    QImage Load(std::string_view storedPath);

    // How many files this cache has handed to the decoder.
    int DecodeCount() const { return m_decodes; }

private:
    QHash<QString, QImage> m_images;  // by local path; failures are kept too
    int m_decodes = 0;
};

}  // namespace vodirev
