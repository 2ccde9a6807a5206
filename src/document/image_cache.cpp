#include "document/image_cache.h"

#include "base/paths.h"
#include "imaging/image_io.h"

#include <QFileInfo>

namespace vodirev {

ImageCache::Entry* ImageCache::Find(std::string_view storedPath, QString& local) {
    if (!isInsideWorkingFolder(storedPath)) {
        return nullptr;
    }
    auto known = m_localPaths.find(std::string(storedPath));
    if (known == m_localPaths.end()) {
        known = m_localPaths.emplace(std::string(storedPath), localPath(storedPath)).first;
    }
    local = known->second;
    return &m_entries[local];
}

QImage ImageCache::Load(std::string_view storedPath, ImageUse use) {
    QString local;
    Entry* entry = Find(storedPath, local);
    if (!entry) {
        return {};
    }
    const int copies = use == ImageUse::kShown ? 2 : 1;
    if (!entry->decoded) {
        entry->decoded = true;
        ++m_decodes;
        if (m_budget == nullptr) {
            entry->image = LoadImageBitmap(local);
        } else {
            entry->image = LoadImageBitmap(local, *m_budget, copies);
            entry->copies = copies;
        }
        return entry->image;
    }
    // Decoded for a cheaper use first: the further copy is charged now.
    if (m_budget != nullptr && !entry->image.isNull() && entry->copies < copies) {
        const qint64 pixels = qint64(entry->image.width()) * entry->image.height();
        if (!m_budget->Take(pixels * (copies - entry->copies), local)) {
            return {};
        }
        entry->copies = copies;
    }
    return entry->image;
}

bool ImageCache::NamesFile(std::string_view storedPath) {
    QString local;
    Entry* entry = Find(storedPath, local);
    if (!entry) {
        return false;
    }
    if (entry->isFile < 0) {
        entry->isFile = QFileInfo(local).isFile() ? 1 : 0;
    }
    return entry->isFile == 1;
}

}  // namespace vodirev
