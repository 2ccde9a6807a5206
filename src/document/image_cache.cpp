#include "document/image_cache.h"

#include "base/paths.h"
#include "imaging/image_io.h"

namespace vodirev {

QImage ImageCache::Load(std::string_view storedPath) {
    if (!isSafeRelativePath(storedPath)) {
        return {};
    }
    const QString path = localPath(storedPath);
    const auto found = m_images.constFind(path);
    if (found != m_images.constEnd()) {
        return found.value();
    }
    ++m_decodes;
    const QImage image = LoadImageBitmap(path);
    m_images.insert(path, image);
    return image;
}

}  // namespace vodirev
