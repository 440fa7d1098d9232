#pragma once

#include <QString>

// The application icon of the menus: the online lamp of the tray with the hands of a meter,
// written as PNG at every size of the icon theme and as SVG below outDir/icons/hicolor.
// Returns how many files were written.
int writeAppIcons(const QString& outDir);
