#pragma once
// Pictures the installation puts into images\bkicons (never downloaded).

namespace vodirev {

inline constexpr const char* kMyComputerImage = "images\\bkicons\\64X64_01.gif";
inline constexpr const char* kFolderImage = "images\\bkicons\\64X64_16.gif";
inline constexpr const char* kRecycleBinImage = "images\\bkicons\\64X64_17.gif";
inline constexpr const char* kControlPanelImage = "images\\bkicons\\64X64_17.gif";
inline constexpr const char* kUserReviewsImage = "images\\bkicons\\64X64_18.gif";
inline constexpr const char* kLauncherImageA = "images\\bkicons\\launcherA.bmp";
inline constexpr const char* kLauncherImageB = "images\\bkicons\\launcherB.bmp";

}  // namespace vodirev
