#include "document/install_images.h"

#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vodirev {

QString InstalledImagesFolder(const QString& programDir) {
    // The install rules give the data folder relative to the program folder.
    return QDir::cleanPath(programDir + QStringLiteral("/" VODIREV_IMAGES_FROM_BIN));
}

int ProvideInstallImages(const QString& sourceDir, const QString& workDir) {
    const QDir source(sourceDir);
    const QStringList names = source.entryList(QDir::Files | QDir::Readable, QDir::Name);
    if (names.isEmpty()) {
        return 0;
    }
    const QDir target(QDir(workDir).filePath(QFileInfo(localPath(kMyComputerImage)).path()));
    if (!target.mkpath(QStringLiteral("."))) {
        return 0;
    }
    int copied = 0;
    for (const QString& name : names) {
        const QFileInfo to(target.filePath(name));
        // A dangling link counts as there: copying would write through it.
        if (to.exists() || to.isSymLink()) {
            continue;
        }
        if (QFile::copy(source.filePath(name), to.filePath())) {
            ++copied;
        }
    }
    return copied;
}

}  // namespace vodirev
