#include "app/about_text.h"

#include "editor/context_menu.h"
#include "editor/editing_commands.h"

#include <QKeySequence>
#include <QStringList>

namespace vodirev {

QString EditorAboutText(const QString& version, const QString& workFolder,
                        const ServerAddress& server) {
    const QString address = QString::fromStdString(ServerAddressText(server));
    // Rich text: the keys line up in a table whatever the face.
    QString html =
        QStringLiteral(
            "<p><b>Verada Vodirev %1</b> — PC방 바탕화면 배치 편집기</p>"
            "<p>작업 폴더: %2<br>서버: %3<br>"
            "(다른 서버는 환경 변수 VERADA_SERVER에 \"주소:포트\"로 "
            "지정합니다)</p><p>키:</p><table>")
            .arg(version.toHtmlEscaped(), workFolder.toHtmlEscaped(), address.toHtmlEscaped());
    const auto row = [&html](const QString& keys, const QString& what) {
        html += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(keys.toHtmlEscaped(), what.toHtmlEscaped());
    };
    // The menus' own shortcuts, so the list follows them.
    QStringList seen;
    for (const int menu : {int(kMenuTop), int(kMenuFolder)}) {
        for (const EditingEntry& entry : EditingEntries(menu, 2)) {
            const QString keys =
                QKeySequence(QString::fromLatin1(entry.shortcut.data(), entry.shortcut.size()))
                    .toString(QKeySequence::PortableText);
            if (entry.separator() || keys.isEmpty() || seen.contains(keys)) {
                continue;
            }
            seen << keys;
            row(keys,
                QString::fromUtf8(entry.captionUtf8.data(), qsizetype(entry.captionUtf8.size())));
        }
    }
    row(QStringLiteral("화살표"), QStringLiteral("선택한 항목 이동"));
    row(QStringLiteral("Ctrl+0"), QStringLiteral("화면 맞춤 / 100 % 전환"));
    row(QStringLiteral("Shift+F10, 메뉴 키"), QStringLiteral("선택한 항목의 메뉴"));
    row(QStringLiteral("Esc"), QStringLiteral("선택 해제"));
    row(QStringLiteral("F1"), QStringLiteral("이 창"));
    return html + QStringLiteral("</table>");
}

}  // namespace vodirev
