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

class PixelBudget;

// What a loaded image is for, which decides what it costs of a pixel budget.
enum class ImageUse {
    kShown,    // drawn on the canvas, which keeps its own copy (keyed or opaque): twice
    kChecked,  // decoded only to see that it can be shown (menu icons): once
};

class ImageCache {
public:
    // Without a budget every image that decodes is kept; with one, decodes are
    // charged to it and what does not fit is refused (the budget outlives the cache).
    explicit ImageCache(PixelBudget* budget = nullptr) : m_budget(budget) {}

    // The decoded image of a stored path ("images\bkicons\a.gif"), or a null image
    // when the file is missing, does not decode or does not fit the budget. Paths that
    // are not safe relative paths are never opened and give a null image. The single
    // and the doubled backslash forms of a path name the same file and share one
    // decode (and one charge).
    QImage Load(std::string_view storedPath, ImageUse use = ImageUse::kShown);

    // True when the stored path is a safe relative path naming a file.
    bool NamesFile(std::string_view storedPath);

    // How many files this cache has handed to the decoder.
    int DecodeCount() const { return m_decodes; }

private:
    struct Entry {
        int isFile = -1;  // -1 not asked yet
        bool decoded = false;
        int copies = 0;  // how many copies of its pixels the budget was charged
        QImage image;    // null: missing or not a picture
    };
    // The entry of a safe stored path, or null.
    Entry* Find(std::string_view storedPath, QString& local);

    PixelBudget* m_budget;
    std::unordered_map<std::string, QString> m_localPaths;  // stored -> local
    QHash<QString, Entry> m_entries;                        // by local path
    int m_decodes = 0;
};

}  // namespace vodirev
