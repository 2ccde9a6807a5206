#pragma once
// What the fuzz targets share: a working folder for the inputs and a hard check.

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// libFuzzer writes a crash file relative to the current folder, which is the input's
// temporary one when the crash comes: the prefix is made absolute (the folder the run
// started in, unless -artifact_prefix names another) so the report names a file that
// stays. Call from LLVMFuzzerInitialize, before libFuzzer reads its flags.
inline void AbsoluteArtifactPrefix(int* argc, char*** argv) {
    static std::vector<std::string> words;
    static std::vector<char*> pointers;
    const std::string flag = "-artifact_prefix=";
    std::string prefix = QDir::currentPath().toStdString() + "/";
    words.assign(*argv, *argv + *argc);
    bool given = false;
    for (std::string& word : words) {
        if (word.rfind(flag, 0) == 0) {
            given = true;
            const std::string value = word.substr(flag.size());
            if (value.empty() || value[0] != '/') {
                word = flag + prefix + value;
            }
        }
    }
    if (!given) {
        words.push_back(flag + prefix);
    }
    pointers.clear();
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    *argc = int(words.size());
    *argv = pointers.data();
}

// A property the target checks: failing it is a finding, like a crash.
inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace vodirev::fuzz
