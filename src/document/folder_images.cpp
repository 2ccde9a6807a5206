#include "document/folder_images.h"

#include "base/text.h"
#include "document/file_names.h"
#include "document/list_files.h"
#include "imaging/scale_bitmap.h"

namespace vodirev {

namespace {

// The row text buffer holds 64 bytes with its terminator.
constexpr std::size_t kCaptionBytes = 63;

}  // namespace

QImage IconPictures::Scaled(std::string_view storedPath, int size) {
    const auto key = std::make_pair(std::string(storedPath), size);
    const auto found = m_scaled.find(key);
    if (found != m_scaled.end()) {
        return found->second;
    }
    const QImage decoded = m_cache.Load(storedPath);
    QImage scaled = decoded.isNull() ? QImage() : ScaleBitmap(decoded, size, size);
    m_scaled.emplace(key, scaled);
    return scaled;
}

std::string FolderImageCaption(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.size() > 4 ? name.size() - 4 : 0);
    return cutCp949(name, kCaptionBytes);
}

std::vector<FolderImageEntry> LoadFolderImages(IconPictures& pictures) {
    std::vector<FolderImageEntry> entries;
    for (const char* list : {kFolderList, kFolderUserList}) {
        for (CInfoImage& image : LoadImageList(QString::fromLatin1(list))) {
            QImage picture = pictures.Scaled(image.m_strPath, kFolderImageSize);
            if (picture.isNull()) {
                continue;
            }
            std::string caption = FolderImageCaption(image.m_strPath);
            entries.push_back({std::move(image), std::move(caption), std::move(picture)});
        }
    }
    return entries;
}

}  // namespace vodirev
