#pragma once
// The folder of the program file, where its data lies; tests may point it elsewhere.

#include <QString>

namespace ProgramFolder {

// The folder with a trailing '/'.
QString Path();
// Relative to the program folder, e.g. File("DATA/Lib.RUS").
QString File(const QString& relative);
void Override(const QString& folder);

} // namespace ProgramFolder
