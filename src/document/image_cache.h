#pragma once
// Decodes each distinct image once while a layout or a menu list is being read;
// the records then share the decoded pixels (QImage copies share them). What it
// learns about a file (present, decoded) holds for the cache's life: one load.

#include <QHash>
#include <QImage>
#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vodirev {

class ImageCache {
public:
    // The decoded image of a stored path ("images\bkicons\a.gif"), or a null image
    // when the file is missing or does not decode. Paths that are not safe relative
    // paths are never opened and give a null image. The single and the doubled
    // backslash forms of a path name the same file and share one decode.
    QImage Load(std::string_view storedPath);

    // True when the stored path is a safe relative path naming a file.
    bool NamesFile(std::string_view storedPath);

    // How many files this cache has handed to the decoder.
    int DecodeCount() const { return m_decodes; }

private:
    struct Entry {
        int isFile = -1;  // -1 not asked yet
        bool decoded = false;
        QImage image;  // null: missing or not a picture
    };
    // The entry of a safe stored path, or null.
    Entry* Find(std::string_view storedPath, QString& local);

    std::unordered_map<std::string, QString> m_localPaths;  // stored -> local
    QHash<QString, Entry> m_entries;                        // by local path
    int m_decodes = 0;
};

}  // namespace vodirev
