#pragma once
// A throw-away program folder for a test: the program's data files go here, not beside
// the real program.

#include "platform/ProgramFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class TestFolder {
public:
    TestFolder() { QDir(dir_.path()).mkpath("DATA"); }

    // The folder as the program's own; `installed` keeps the player's files out of it.
    TProgramFolder Program(bool installed = false) const {
        return TProgramFolder(dir_.path(), installed);
    }
    QString Path(const QString& relative) const { return dir_.filePath(relative); }

    // Writes the file, making its folders first.
    void Write(const QString& relative, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    QByteArray Read(const QString& relative) const {
        QFile file(Path(relative));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    // Lays the shipped data tree, as the build does beside the program.
    void LayShippedData() const;

private:
    QTemporaryDir dir_;
};
