// Request overhead of the server client against the reference server on loopback,
// with the protocol pauses switched off: what a start-up or a save costs beyond the
// fixed 100 ms per query and 10 ms per 1000 bytes uploaded.

#include "server/reference_server.h"
#include "server/server_client.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using vodirev::CServerClient;

struct Setup {
    vodirev::test::ReferenceServer server;
    CServerClient client;
    QTemporaryDir work;

    Setup() {
        client.SetPauseFunction([](int) {});
        client.Connect();
        QDir::setCurrent(work.path());
    }
};

Setup& shared() {
    static Setup setup;
    return setup;
}

void BM_QueryNumber(benchmark::State& state) {
    Setup& s = shared();
    s.server.putFile("pcroom/R1/desktop003.xml", "<xml/>");
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.client.QueryNumber("exist.jsp?fn=/pcroom/R1/desktop003.xml"));
    }
}
BENCHMARK(BM_QueryNumber)->Unit(benchmark::kMicrosecond);

void BM_DownloadFile(benchmark::State& state) {
    Setup& s = shared();
    const auto size = static_cast<qsizetype>(state.range(0));
    s.server.putFile("pcroom/common/big.bin", QByteArray(size, 'd'));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.client.DownloadFile("/pcroom/common/big.bin", "big.bin"));
    }
    state.SetBytesProcessed(state.iterations() * size);
}
// The same answer read as a short reply: the transfer without the local file.
void BM_ReadWithoutFile(benchmark::State& state) {
    Setup& s = shared();
    const auto size = static_cast<qsizetype>(state.range(0));
    s.server.putFile("pcroom/common/big.bin", QByteArray(size, 'd'));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.client.QueryNumber("/pcroom/common/big.bin"));
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadWithoutFile)->Arg(10 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_DownloadFile)->Arg(10 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMicrosecond);

void BM_UploadFile(benchmark::State& state) {
    Setup& s = shared();
    const auto size = static_cast<qsizetype>(state.range(0));
    QFile file("up.bin");
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(size, 'u'));
    file.close();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            s.client.UploadFile("up.bin", "R1/up.bin", "upload_file.jsp", "R1"));
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_UploadFile)->Arg(10 * 1024)->Arg(200 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!shared().server.started()) {
        std::fprintf(stderr, "%s\n", qPrintable(shared().server.error()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
