#pragma once

#include <QString>

class QWidget;

namespace tarvik {

// The kinds of file the pages' browse buttons pick, each with its title and filter. A sound,
// a program and a skin to use are kept in the settings file; a skin opened in the editor is
// picked like a skin to use but its path is kept nowhere.
enum class FileKind { Wave, Program, Skin, SkinToEdit, Picture, TariffImport };

// Runs the open-file picker set up for `kind` (an existing file only); "" when cancelled.
// `programDir` is where the skin picker starts. A path of a kind kept in the settings file
// that the file's code page cannot hold is refused with a message, and gives "" as well.
QString pickFile(QWidget* parent, FileKind kind, const QString& programDir);

}  // namespace tarvik
