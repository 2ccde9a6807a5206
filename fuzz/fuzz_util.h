#pragma once
// What the fuzz targets share: a working folder for the inputs and a hard check.

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace vodirev::fuzz {

// The working folder of the inputs. It is current only while an input runs, so that
// paths given to libFuzzer (corpus, artifacts, inputs) keep their meaning.
inline QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

class InWorkDir {
public:
    InWorkDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(WorkDir().path()); }
    ~InWorkDir() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

// A property the target checks: failing it is a finding, like a crash.
inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace vodirev::fuzz
