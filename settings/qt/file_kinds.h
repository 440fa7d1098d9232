#pragma once

#include <QString>

class QWidget;

namespace tarvik {

// The kinds of file the pages' browse buttons pick, each with its title and filter.
enum class FileKind { Wave, Program, Skin, Picture, TariffImport };

// Runs the open-file picker set up for `kind` (an existing file only); "" when cancelled.
// `programDir` is where the skin picker starts.
QString pickFile(QWidget* parent, FileKind kind, const QString& programDir);

}  // namespace tarvik
