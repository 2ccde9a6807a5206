#pragma once
// Helpers shared by the benchmarks that run the editor against the reference server.

#include "bench_main.h"
#include "server/reference_server.h"
#include "server/server_client.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

namespace vodirev::bench {

// Copies every file below from to the same place below to.
inline bool CopyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

// Counts the protocol pauses of a client and takes them for real (or not).
struct PauseLog {
    int queries = 0;  // 100 ms pauses: one before every query and every upload
    int writes = 0;   // 10 ms pauses: one after every full 1000-byte write

    CServerClient::PauseFunction function(bool sleep) {
        return [this, sleep](int ms) {
            (ms >= 100 ? queries : writes) += 1;
            if (sleep) {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            }
        };
    }
    double milliseconds() const { return queries * 100.0 + writes * 10.0; }
};

// A fresh reference server holding a copy of serverData, and a fresh working folder
// holding the installation images, made current while it lives.
class FreshDemo {
public:
    FreshDemo(const QString& serverData, const QString& bkicons)
        : m_server(std::make_unique<test::ReferenceServer>()) {
        m_ok = m_server->started() && CopyTree(serverData, m_server->root()) &&
               CopyTree(bkicons, m_work.path() + "/images/bkicons");
        QDir::setCurrent(m_work.path());
    }
    ~FreshDemo() {
        m_server.reset();
        QDir::setCurrent(QDir::tempPath());
    }
    bool ok() const { return m_ok; }
    QString workPath() const { return m_work.path(); }

private:
    std::unique_ptr<test::ReferenceServer> m_server;
    QTemporaryDir m_work;
    bool m_ok = false;
};

}  // namespace vodirev::bench
