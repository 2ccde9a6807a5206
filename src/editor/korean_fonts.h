#pragma once
// The faces layouts and dialogs name (굴림체, 돋움, 바탕, ...) are Windows fonts; here
// they are served by the Nanum families.

namespace vodirev {

// Maps the Korean Windows face names, in Hangul and in their English spellings, to
// the installed Nanum faces. Call once before any font is used; calling it again
// does nothing.
void InstallKoreanFontSubstitutions();

}  // namespace vodirev
