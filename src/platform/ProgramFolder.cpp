#include "platform/ProgramFolder.h"

#include "platform/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString WithSlash(const QString& folder) {
    return folder.endsWith('/') ? folder : folder + '/';
}

// What QStandardPaths::AppDataLocation names for an application called kordi2000; the
// application's own name stays "Kordi 2000", as its windows show it.
QString PlayerFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/kordi2000/";
}

void MakeFolderFor(const QString& file) {
    const QString folder = QFileInfo(file).path();
    if (!QDir().mkpath(folder))
        throw IoError(QString("Cannot make the folder \"%1\".").arg(folder));
}

// The copy is the player's own, writable even when the original is not.
void CopyForPlayer(const QString& original, const QString& copy) {
    QFile source(original);
    if (!source.copy(copy))
        throw IoError(
            QString("Cannot copy \"%1\" to \"%2\": %3").arg(original, copy, source.errorString()));
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
}

} // namespace

TProgramFolder::TProgramFolder(const QString& folder, bool installed)
    : data_(WithSlash(folder)), installed_(installed) {}

// The build folder has the settings file beside the program; an installed program has its
// data under share, at the same place relative to bin whatever the prefix.
TProgramFolder TProgramFolder::OfThisProgram() {
    const QString beside = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(beside + '/' + KORDI_INSTALLED_DATA);
    if (!QFile::exists(beside + "/Kordi2000.ini") && QFile::exists(installed + "/Kordi2000.ini"))
        return TProgramFolder(installed, true);
    return TProgramFolder(beside);
}

bool TProgramFolder::PlayerFilesBesideData() const {
    return !installed_ && QFileInfo(data_).isWritable();
}

QString TProgramFolder::PlayerFile(const QString& relative) const {
    const QString original = File(relative);
    if (PlayerFilesBesideData())
        return original;
    const QString own = PlayerFolder() + relative;
    if (!QFile::exists(own)) {
        MakeFolderFor(own);
        if (QFile::exists(original))
            CopyForPlayer(original, own);
    }
    return own;
}
