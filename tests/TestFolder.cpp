#include "TestFolder.h"

#include <QDirIterator>

void TestFolder::LayShippedData() const {
    const QString source = KORDI_SOURCE_DIR "/data";
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(source).relativeFilePath(file);
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile::remove(Path(relative));
        QFile::copy(file, Path(relative));
    }
}
