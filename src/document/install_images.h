#pragma once
// Pictures the installation puts into images\bkicons (never downloaded).

#include <QString>

namespace vodirev {

inline constexpr const char* kMyComputerImage = "images\\bkicons\\64X64_01.gif";
inline constexpr const char* kFolderImage = "images\\bkicons\\64X64_16.gif";
inline constexpr const char* kRecycleBinImage = "images\\bkicons\\64X64_17.gif";
inline constexpr const char* kControlPanelImage = "images\\bkicons\\64X64_17.gif";
inline constexpr const char* kUserReviewsImage = "images\\bkicons\\64X64_18.gif";
inline constexpr const char* kLauncherImageA = "images\\bkicons\\launcherA.bmp";
inline constexpr const char* kLauncherImageB = "images\\bkicons\\launcherB.bmp";

// Where an installed editor keeps its installation images: a data folder found from
// the folder of the program, so a moved installation still finds its own.
QString InstalledImagesFolder(const QString& programDir);

// Copies the files of sourceDir that workDir's images\bkicons lacks; a file (or link)
// already there is never replaced. Returns how many were copied.
int ProvideInstallImages(const QString& sourceDir, const QString& workDir);

}  // namespace vodirev
