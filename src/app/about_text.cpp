#include "app/about_text.h"

#include "editor/context_menu.h"
#include "editor/editing_commands.h"

#include <QKeySequence>
#include <QStringList>

namespace vodirev {

QString EditorAboutText(const QString& version, const QString& workFolder,
                        const ServerAddress& server) {
    const QString host = QString::fromStdString(server.host);
    const QString address = host.contains(QLatin1Char(':'))
                                ? QStringLiteral("[%1]:%2").arg(host).arg(server.port)
                                : QStringLiteral("%1:%2").arg(host).arg(server.port);
    QStringList lines{
        QStringLiteral("Verada Vodirev %1 — PC방 바탕화면 배치 편집기").arg(version),
        QString(),
        QStringLiteral("작업 폴더: %1").arg(workFolder),
        QStringLiteral("서버: %1 (환경 변수 VERADA_SERVER로 바꿀 수 있습니다)").arg(address),
        QString(),
        QStringLiteral("키:"),
    };
    // The menus' own shortcuts, so the list follows them.
    QStringList seen;
    for (const int menu : {int(kMenuTop), int(kMenuFolder)}) {
        for (const EditingEntry& entry : EditingEntries(menu, 2)) {
            const QString keys =
                QKeySequence(QString::fromLatin1(entry.shortcut.data(), entry.shortcut.size()))
                    .toString(QKeySequence::NativeText);
            if (entry.separator() || keys.isEmpty() || seen.contains(keys)) {
                continue;
            }
            seen << keys;
            lines << QStringLiteral("  %1\t%2")
                         .arg(keys, QString::fromUtf8(entry.captionUtf8.data(),
                                                      qsizetype(entry.captionUtf8.size())));
        }
    }
    lines << QStringLiteral("  화살표\t선택한 항목 이동")
          << QStringLiteral("  Ctrl+0\t화면 맞춤 / 100 % 전환")
          << QStringLiteral("  Shift+F10, 메뉴 키\t선택한 항목의 메뉴")
          << QStringLiteral("  Esc\t선택 해제") << QStringLiteral("  F1\t이 창");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace vodirev
