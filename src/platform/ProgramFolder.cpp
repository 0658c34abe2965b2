#include "platform/ProgramFolder.h"

#include <QCoreApplication>

namespace ProgramFolder {
namespace {
QString overridden;
}

QString Path() {
    const QString folder =
        overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
    return folder.endsWith('/') ? folder : folder + '/';
}

QString File(const QString& relative) {
    return Path() + relative;
}

void Override(const QString& folder) {
    overridden = folder;
}

} // namespace ProgramFolder
