#include "common/save_room.h"

#include "base/text.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

namespace vodirev::test {

QByteArray PngBytes(const QColor& colour, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void PutSaveRoom(ReferenceServer& server) {
    const QByteArray empty;
    for (const char* name : {"LIST_BACKGROUND.db", "LIST_FOLDER.db", "LIST_MENU.db"}) {
        server.putFile(std::string("pcroom/common/") + name, empty);
    }
    // The system icon comes from the common folder; the room does not hold it yet.
    server.putFile("pcroom/common/LIST_SYSMENU.db",
                   "0;images\\icons\\sys.png;sys;SYSTEM;sys.exe;SYSTEM\r\n");
    server.putFile("pcroom/common/images/icons/sys.png", PngBytes(Qt::blue, 32, 32));
    const std::string layout =
        "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n"
        "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\r\n"
        "<background name=\"bg\" width=\"800\" height=\"600\">\r\n"
        "<image>images\\background\\bg1.png</image>\r\n</background>\r\n"
        "<icon name=\"icon1\" x=\"50\" y=\"60\" width=\"64\" height=\"64\"  flag=\"3\"  "
        "type=\"1\" showflag=\"1\" >\r\n<title> " +
        Cp949("게임") +
        "</title>\r\n<image> images\\bkicons\\folder1.png</image>\r\n<link></link>\r\n"
        "<dir></dir>\r\n</icon>\r\n"
        "<image name=\"image\" x=\"300\" y=\"40\"><path>images\\user\\1_old.png</path></image>\r\n"
        "</desktop>\r\n";
    server.putFile("pcroom/common/desktop001.xml", QByteArray::fromStdString(layout));
    server.putFile("pcroom/room/desktop001.xml", QByteArray::fromStdString(layout));
    server.putFile("pcroom/room/LIST_BACKGROUND_USER.db",
                   QByteArray::fromStdString("1," + Cp949("사용자") +
                                             ",images\\background\\bg1.png,"
                                             "images\\background\\bg1.png\r\n"));
    server.putFile("pcroom/room/images/background/bg1.png", PngBytes(Qt::green, 800, 600));
    server.putFile("pcroom/room/LIST_FOLDER_USER.db", "images\\bkicons\\folder1.png\r\n");
    server.putFile("pcroom/room/images/bkicons/folder1.png", PngBytes(Qt::yellow, 64, 64));
    server.putFile("pcroom/room/LIST_MENU_001.db",
                   QByteArray::fromStdString("3;images\\icons\\app.png;" + Cp949("앱") +
                                             ";C:\\app;app.exe;\r\n"));
    server.putFile("pcroom/room/images/icons/app.png", PngBytes(Qt::cyan, 32, 32));
    server.putFile("pcroom/room/LIST_SYSMENU_001.db",
                   "0;images\\icons\\sys.png;sys;SYSTEM;sys.exe;SYSTEM\r\n");
    server.putFile("pcroom/room/LIST_IMAGE_001.db", "images\\user\\1_old.png\r\n");
    server.putFile("pcroom/room/images/user/1_old.png", PngBytes(Qt::gray, 40, 30));
    server.putFile("pcroom/room/LAUNCHER_001.TXT", "10,140,0");

    QDir().mkpath(QStringLiteral("images/bkicons"));
    QImage launcher(40, 10, QImage::Format_RGB32);
    launcher.fill(Qt::red);
    launcher.save(QStringLiteral("images/bkicons/launcherA.bmp"), "BMP");
    launcher.save(QStringLiteral("images/bkicons/launcherB.bmp"), "BMP");
}

}  // namespace vodirev::test
