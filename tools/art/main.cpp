// vodirev-art: draws the installation images (images\bkicons) and the demo room's
// server data. Everything here is drawn from code: no picture comes from elsewhere.
//
//   vodirev-art --bkicons DIR [--demo-root DIR] [--missing-images N]
//
// --missing-images N adds N more program entries whose icons exist only on the
// server (for measuring the start-up's image fetch).

#include "base/text.h"
#include "imaging/image_io.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <string>
#include <vector>

using vodirev::SaveBitmapToFile;
using vodirev::toCp949;

namespace {

const QColor kKey(255, 0, 255);

QImage keyedCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

// Keyed pictures are drawn without antialiasing so no edge pixel mixes with magenta.
void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
}

QImage drawMyComputer() {
    QImage image = keyedCanvas(64, 64);
    QPainter p(&image);
    prepare(p);
    p.setBrush(QColor(60, 64, 72));
    p.drawRect(6, 6, 52, 38);
    QLinearGradient screen(0, 10, 0, 40);
    screen.setColorAt(0, QColor(90, 170, 240));
    screen.setColorAt(1, QColor(30, 90, 180));
    p.setBrush(screen);
    p.drawRect(10, 10, 44, 30);
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(14, 14, 14, 4);
    p.setBrush(QColor(60, 64, 72));
    p.drawRect(28, 44, 8, 8);
    p.drawRect(16, 52, 32, 5);
    return image;
}

QImage drawFolder(QColor body, QColor tab) {
    QImage image = keyedCanvas(64, 64);
    QPainter p(&image);
    prepare(p);
    p.setBrush(tab);
    p.drawRect(6, 12, 22, 8);
    p.setBrush(body.darker(115));
    p.drawRect(6, 18, 52, 36);
    p.setBrush(body);
    QPolygon front;
    front << QPoint(4, 26) << QPoint(60, 26) << QPoint(56, 54) << QPoint(8, 54);
    p.drawPolygon(front);
    p.setBrush(body.lighter(125));
    p.drawRect(8, 28, 48, 3);
    return image;
}

QImage drawRecycleBin() {
    QImage image = keyedCanvas(64, 64);
    QPainter p(&image);
    prepare(p);
    p.setBrush(QColor(70, 120, 90));
    p.drawRect(14, 10, 36, 6);
    p.drawRect(26, 6, 12, 4);
    QPolygon bin;
    bin << QPoint(16, 18) << QPoint(48, 18) << QPoint(44, 58) << QPoint(20, 58);
    p.setBrush(QColor(110, 180, 130));
    p.drawPolygon(bin);
    p.setBrush(QColor(70, 120, 90));
    for (int x = 22; x <= 40; x += 9) {
        p.drawRect(x, 24, 3, 28);
    }
    return image;
}

QImage drawUserReviews() {
    QImage image = keyedCanvas(64, 64);
    QPainter p(&image);
    prepare(p);
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(6, 8, 52, 34);
    QPolygon tail;
    tail << QPoint(16, 42) << QPoint(30, 42) << QPoint(14, 56);
    p.drawPolygon(tail);
    p.setBrush(QColor(120, 80, 20));
    p.drawRect(14, 16, 36, 4);
    p.drawRect(14, 24, 28, 4);
    p.drawRect(14, 32, 20, 4);
    return image;
}

// Launcher bars: A lies along the top of the screen, B stands at its left side.
QImage drawLauncher(bool vertical) {
    const int length = 360;
    const int thickness = 52;
    QImage image = keyedCanvas(vertical ? thickness : length, vertical ? length : thickness);
    QPainter p(&image);
    prepare(p);
    p.setBrush(QColor(40, 44, 56));
    p.drawRect(vertical ? QRect(4, 0, thickness - 8, length) : QRect(0, 4, length, thickness - 8));
    const QColor buttons[] = {QColor(230, 80, 70), QColor(250, 180, 50), QColor(90, 190, 110),
                              QColor(70, 150, 230), QColor(170, 110, 220)};
    for (int i = 0; i < 5; ++i) {
        const int along = 14 + i * 68;
        p.setBrush(buttons[i]);
        p.drawRect(vertical ? QRect(10, along, 32, 32) : QRect(along, 10, 32, 32));
        p.setBrush(buttons[i].lighter(140));
        p.drawRect(vertical ? QRect(14, along + 4, 10, 6) : QRect(along + 4, 14, 10, 6));
    }
    return image;
}

QImage drawProgramIcon(int index) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = QColor::fromHsv((index * 47) % 360, 170, 230);
    p.setBrush(color);
    p.setPen(color.darker(160));
    switch (index % 4) {
        case 0:
            p.drawEllipse(3, 3, 26, 26);
            break;
        case 1:
            p.drawRoundedRect(3, 3, 26, 26, 6, 6);
            break;
        case 2: {
            QPolygon star;
            star << QPoint(16, 2) << QPoint(20, 12) << QPoint(30, 12) << QPoint(22, 19)
                 << QPoint(26, 30) << QPoint(16, 23) << QPoint(6, 30) << QPoint(10, 19)
                 << QPoint(2, 12) << QPoint(12, 12);
            p.drawPolygon(star);
            break;
        }
        default: {
            QPolygon diamond;
            diamond << QPoint(16, 2) << QPoint(30, 16) << QPoint(16, 30) << QPoint(2, 16);
            p.drawPolygon(diamond);
        }
    }
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRect(13, 13, 6, 6);
    return image;
}

QImage drawBackground(int width, int height, int variant) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    const QColor tops[] = {QColor(40, 90, 170), QColor(240, 150, 90), QColor(20, 30, 60),
                           QColor(90, 160, 120)};
    const QColor bottoms[] = {QColor(150, 200, 240), QColor(250, 220, 170), QColor(70, 60, 120),
                              QColor(200, 230, 170)};
    sky.setColorAt(0, tops[variant % 4]);
    sky.setColorAt(1, bottoms[variant % 4]);
    p.fillRect(image.rect(), sky);
    // Rolling hills.
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hill;
        const int base = height * (6 + layer) / 10;
        hill.moveTo(0, height);
        hill.lineTo(0, base);
        for (int x = 0; x <= width; x += width / 8) {
            hill.quadTo(x + width / 16,
                        base - height / 12 * ((x / (width / 8) + layer) % 2 ? 1 : -1),
                        x + width / 8, base);
        }
        hill.lineTo(width, height);
        hill.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv((100 + variant * 40 + layer * 15) % 360, 120, 150 - layer * 30));
        p.drawPath(hill);
    }
    // A sun or a moon.
    QRadialGradient glow(width * 0.75, height * 0.2, height * 0.12);
    glow.setColorAt(0, QColor(255, 250, 220));
    glow.setColorAt(1, QColor(255, 250, 220, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(width * 0.75, height * 0.2), height * 0.12, height * 0.12);
    return image;
}

QImage drawPicture() {
    QImage image = keyedCanvas(160, 120);
    QPainter p(&image);
    prepare(p);
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(0, 0, 160, 100);
    p.setBrush(QColor(220, 60, 60));
    p.drawRect(10, 10, 140, 30);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(10, 50, 100, 8);
    p.drawRect(10, 66, 120, 8);
    p.drawRect(10, 82, 80, 8);
    p.setBrush(QColor(220, 60, 60));
    QPolygon tag;
    tag << QPoint(120, 100) << QPoint(160, 100) << QPoint(140, 120);
    p.drawPolygon(tag);
    return image;
}

bool writeBytes(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// Text files of the system: CP949 with CR LF line ends.
std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string k(const char* utf8) {
    return toCp949(QString::fromUtf8(utf8));
}

bool save(const QString& path, const QImage& image) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!SaveBitmapToFile(path, image)) {
        std::fprintf(stderr, "vodirev-art: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool drawBkicons(const QString& dir) {
    return save(dir + "/64X64_01.gif", drawMyComputer()) &&
           save(dir + "/64X64_16.gif", drawFolder(QColor(245, 200, 80), QColor(230, 170, 50))) &&
           save(dir + "/64X64_17.gif", drawRecycleBin()) &&
           save(dir + "/64X64_18.gif", drawUserReviews()) &&
           save(dir + "/launcherA.bmp", drawLauncher(false)) &&
           save(dir + "/launcherB.bmp", drawLauncher(true));
}

struct Program {
    int folder;
    const char* icon;
    const char* name;
    const char* dir;
    const char* exe;
    const char* url;
};

std::string menuLine(const Program& p) {
    return std::to_string(p.folder) + ";" + p.icon + ";" + k(p.name) + ";" + p.dir + ";" + p.exe +
           ";" + p.url + "\n";
}

std::string iconElement(int index, int x, int y, int flag, int type, const std::string& title,
                        const char* image) {
    return "<icon name=\"icon" + std::to_string(index) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
           std::to_string(y) + "\" width=\"64\" height=\"64\"  flag=\"" + std::to_string(flag) +
           "\"  type=\"" + std::to_string(type) + "\" showflag=\"1\" >\n<title> " + title +
           "</title>\n<image> " + image + "</image>\n<link></link>\n<dir></dir>\n</icon>\n";
}

bool drawDemoRoot(const QString& root, int extraMissing) {
    const QString common = root + "/pcroom/common";
    const QString room = root + "/pcroom/demo";
    bool ok = true;

    // Catalogue images on the server (the editor fetches what it lacks).
    for (int i = 0; i < 4; ++i) {
        const QString name = QStringLiteral("/images/background/demo_bg%1.jpg").arg(i + 1);
        ok = ok && save(common + name, drawBackground(1024, 768, i));
        const QString thumb = QStringLiteral("/images/background/demo_bg%1_s.jpg").arg(i + 1);
        ok = ok && save(common + thumb, drawBackground(128, 96, i));
    }
    const QColor folderColours[] = {QColor(90, 160, 240), QColor(120, 200, 110),
                                    QColor(240, 120, 110), QColor(180, 130, 230)};
    for (int i = 0; i < 4; ++i) {
        ok = ok && save(common + QStringLiteral("/images/bkicons/folder_%1.gif").arg(i + 1),
                        drawFolder(folderColours[i], folderColours[i].darker(130)));
    }
    const std::vector<Program> programs = {
        {1, "images\\icons\\game_star.png", "별빛 레이싱", "C:\\Games\\Star", "star.exe",
         "http://games.example/star"},
        {1, "images\\icons\\game_block.png", "블록 퍼즐", "C:\\Games\\Block", "block.exe",
         "http://games.example/block"},
        {2, "images\\icons\\web.png", "웹 브라우저", "C:\\Apps\\Web", "web.exe",
         "http://www.example.com"},
        {3, "images\\icons\\office_doc.png", "문서 작성", "C:\\Office", "doc.exe", ""},
        {3, "images\\icons\\office_calc.png", "계산표", "C:\\Office", "calc.exe", ""},
        {0, "images\\icons\\paint.png", "그림판", "C:\\Apps\\Paint", "paint.exe", ""},
        {0, "images\\icons\\music.png", "음악 재생기", "C:\\Apps\\Music", "music.exe", ""},
    };
    const std::vector<Program> systemPrograms = {
        {0, "images\\icons\\sys_display.png", "화면 설정", "SYSTEM", "desk.cpl", "SYSTEM"},
        {0, "images\\icons\\sys_sound.png", "소리", "SYSTEM", "mmsys.cpl", "SYSTEM"},
        {0, "images\\icons\\sys_mouse.png", "마우스", "SYSTEM", "main.cpl", "SYSTEM"},
    };
    int iconIndex = 0;
    for (const auto* list : {&programs, &systemPrograms}) {
        for (const Program& p : *list) {
            QString path = QString::fromLatin1(p.icon);
            path.replace(u'\\', u'/');
            ok = ok && save(common + "/" + path, drawProgramIcon(iconIndex++));
        }
    }

    std::string backgroundList;
    for (int i = 0; i < 4; ++i) {
        backgroundList += std::to_string(i + 1) + "," + k("풍경") + ",images\\background\\demo_bg" +
                          std::to_string(i + 1) + "_s.jpg,images\\background\\demo_bg" +
                          std::to_string(i + 1) + ".jpg\n";
    }
    std::string folderList;
    for (int i = 0; i < 4; ++i) {
        folderList += "images\\bkicons\\folder_" + std::to_string(i + 1) + ".gif\n";
    }
    std::string menuList;
    for (const Program& p : programs) {
        menuList += menuLine(p);
    }
    std::string extraMenu;
    for (int i = 0; i < extraMissing; ++i) {
        const std::string icon = "images\\icons\\extra_" + std::to_string(i) + ".png";
        ok = ok &&
             save(common + QStringLiteral("/images/icons/extra_%1.png").arg(i), drawProgramIcon(i));
        extraMenu += "0;" + icon + ";" + k("추가 프로그램") + " " + std::to_string(i) +
                     ";C:\\Extra;extra.exe;\n";
    }
    std::string sysMenuList;
    for (const Program& p : systemPrograms) {
        sysMenuList += menuLine(p);
    }

    std::string layout =
        "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\n"
        "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\n"
        "<background name=\"bg\" width=\"1024\" height=\"768\">\n"
        "<image>images\\background\\demo_bg1.jpg</image>\n"
        "</background>\n";
    layout += iconElement(1, 30, 30, 1, 4, k("내컴퓨터"), "images\\bkicons\\64X64_01.gif");
    layout += iconElement(2, 30, 150, 2, 5, k("휴지통"), "images\\bkicons\\64X64_17.gif");
    layout += iconElement(3, 30, 270, 3, 6, k("제어판"), "images\\bkicons\\64X64_17.gif");
    layout += iconElement(4, 30, 390, 4, 7, k("이용후기"), "images\\bkicons\\64X64_18.gif");
    layout += iconElement(5, 200, 30, 1, 1, k("게임"), "images\\bkicons\\folder_1.gif");
    layout += iconElement(6, 320, 30, 2, 1, k("인터넷"), "images\\bkicons\\folder_2.gif");
    layout += iconElement(7, 440, 30, 3, 1, k("오피스"), "images\\bkicons\\folder_3.gif");
    layout += iconElement(8, 560, 30, 8, 2, k("홈페이지"), "images\\bkicons\\folder_4.gif");
    layout +=
        "<window name=\"title\" x=\"400\" y=\"560\" height=\"-32\" weight=\"700\" flag=\"0\"  "
        "charset=\"1\" fontname=\"" +
        k("굴림체") +
        "\" colorr=\"255\" colorg=\"255\" colorb=\"255\">\n"
        "<title> " +
        k("어서 오세요! 데모 PC방입니다") +
        " </title>\n</window>\n"
        "<window name=\"title\" x=\"400\" y=\"610\" height=\"-18\" weight=\"400\" flag=\"1\"  "
        "charset=\"1\" fontname=\"" +
        k("돋움") +
        "\" colorr=\"255\" colorg=\"230\" colorb=\"120\">\n"
        "<title> " +
        k("요금 안내: 1시간 1,000원") + "\n" + k("음료는 카운터에서") +
        " </title>\n</window>\n"
        "<image name=\"image\" x=\"820\" "
        "y=\"300\"><path>images\\user\\demo_notice.gif</path></image>\n"
        "</desktop>\n";

    // Common files.
    ok = ok && writeBytes(common + "/LIST_BACKGROUND.db", crlf(backgroundList));
    ok = ok && writeBytes(common + "/LIST_FOLDER.db", crlf(folderList));
    ok = ok && writeBytes(common + "/LIST_MENU.db", crlf(menuList + extraMenu));
    ok = ok && writeBytes(common + "/LIST_SYSMENU.db", crlf(sysMenuList));
    ok = ok && writeBytes(common + "/desktop001.xml", crlf(layout));
    // The room "demo": desktop 1 has its own numbered files.
    ok = ok && writeBytes(room + "/LIST_BACKGROUND_USER.db", "");
    ok = ok && writeBytes(room + "/LIST_FOLDER_USER.db", "");
    ok = ok && writeBytes(room + "/desktop001.xml", crlf(layout));
    ok = ok && writeBytes(room + "/LIST_MENU_001.db", crlf(menuList + extraMenu));
    ok = ok && writeBytes(room + "/LIST_SYSMENU_001.db", crlf(sysMenuList));
    ok = ok && writeBytes(room + "/LIST_IMAGE_001.db", crlf("images\\user\\demo_notice.gif\n"));
    ok = ok && writeBytes(room + "/LAUNCHER_001.TXT", "332,752,0");
    ok = ok && save(room + "/images/user/demo_notice.gif", drawPicture());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QString bkicons;
    QString demoRoot;
    int extraMissing = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--bkicons") {
            bkicons = args[i + 1];
        } else if (args[i] == u"--demo-root") {
            demoRoot = args[i + 1];
        } else if (args[i] == u"--missing-images") {
            extraMissing = args[i + 1].toInt();
        } else {
            std::fprintf(stderr, "vodirev-art: unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    if (bkicons.isEmpty() && demoRoot.isEmpty()) {
        std::fputs("usage: vodirev-art --bkicons DIR [--demo-root DIR] [--missing-images N]\n",
                   stderr);
        return 2;
    }
    if (!bkicons.isEmpty() && !drawBkicons(bkicons)) {
        return 1;
    }
    if (!demoRoot.isEmpty() && !drawDemoRoot(demoRoot, extraMissing)) {
        return 1;
    }
    return 0;
}
