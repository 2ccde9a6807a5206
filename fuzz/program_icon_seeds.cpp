// Writes the seed corpus of fuzz_program_icon into a folder: small programs, .ico
// files and icon images built from our own pictures.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "imaging/icon_files.h"

using namespace vodirev::test;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: program_icon_seeds FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));
    const QByteArray dib32 = DibImage(ArgbPicture(16, 16, true), 32);
    const QByteArray dib24 = DibImage(ArgbPicture(7, 5, false), 24);
    const QByteArray dib8 = DibImage(PalettePicture(9, 6, 11), 8);
    const QByteArray dib4 = DibImage(PalettePicture(7, 5, 16), 4);
    const QByteArray dib1 = DibImage(PalettePicture(10, 4, 2), 1);
    const QByteArray png = PngImage(ArgbPicture(12, 10, true));
    const std::pair<const char*, QByteArray> seeds[] = {
        {"pe32_dib.exe", ProgramFile({{3, {}, 1, dib32}, {14, {}, 1, IconGroup({1})}})},
        {"pe64_png.dll", ProgramFile({{3, {}, 1, png}, {14, {}, 1, IconGroup({1})}}, true)},
        {"groups.exe", ProgramFile({{3, {}, 1, dib8},
                                    {3, {}, 2, dib4},
                                    {3, {}, 3, dib24},
                                    {3, {}, 4, dib1},
                                    {14, {}, 7, IconGroup({3})},
                                    {14, QStringLiteral("MAIN"), 0, IconGroup({4, 1, 2, 9})},
                                    {16, {}, 1, QByteArray("version")}})},
        {"icons.ico", IcoFile({dib8, dib32, png, dib1})},
        {"dib32.bin", dib32},
        {"dib4.bin", dib4},
        {"icon.png", png},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
