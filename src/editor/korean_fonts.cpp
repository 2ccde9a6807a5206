#include "editor/korean_fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <mutex>

namespace vodirev {

void InstallKoreanFontSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QString coding = QStringLiteral("NanumGothicCoding");
        const QString gothic = QStringLiteral("NanumGothic");
        const QString myeongjo = QStringLiteral("NanumMyeongjo");
        const QString barun = QStringLiteral("NanumBarunGothic");
        // Fixed-pitch faces go to the fixed-pitch Nanum face, so a Latin byte stays
        // half as wide as a Hangul syllable (titles are centred by byte count).
        // NanumGothic follows each list for glyphs the first face lacks.
        struct Substitution {
            const char* face;
            QStringList families;
        };
        const Substitution table[] = {
            {"굴림체", {coding, gothic}},
            {"GulimChe", {coding, gothic}},
            {"돋움체", {coding, gothic}},
            {"DotumChe", {coding, gothic}},
            {"굴림", {gothic}},
            {"Gulim", {gothic}},
            {"돋움", {gothic}},
            {"Dotum", {gothic}},
            {"바탕", {myeongjo, gothic}},
            {"Batang", {myeongjo, gothic}},
            {"바탕체", {myeongjo, coding, gothic}},
            {"BatangChe", {myeongjo, coding, gothic}},
            // No brush face is installed; the serif face is the nearest.
            {"궁서", {myeongjo, gothic}},
            {"Gungsuh", {myeongjo, gothic}},
            {"궁서체", {myeongjo, coding, gothic}},
            {"GungsuhChe", {myeongjo, coding, gothic}},
            {"맑은 고딕", {barun, gothic}},
            {"Malgun Gothic", {barun, gothic}},
        };
        for (const Substitution& s : table) {
            QFont::insertSubstitutions(QString::fromUtf8(s.face), s.families);
        }
    });
}

}  // namespace vodirev
