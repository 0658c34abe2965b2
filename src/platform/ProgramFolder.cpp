#include "platform/ProgramFolder.h"

#include "platform/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace ProgramFolder {
namespace {

struct TLayout {
    QString data; // with a trailing '/'
    bool installed = false;
};

std::optional<TLayout> chosen;

QString WithSlash(const QString& folder) {
    return folder.endsWith('/') ? folder : folder + '/';
}

// The build folder has the settings file beside the program; an installed program has its
// data under share, at the same place relative to bin whatever the prefix.
TLayout FindLayout() {
    const QString beside = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(beside + '/' + KORDI_INSTALLED_DATA);
    if (!QFile::exists(beside + "/Kordi2000.ini") && QFile::exists(installed + "/Kordi2000.ini"))
        return {WithSlash(installed), true};
    return {WithSlash(beside), false};
}

const TLayout& Layout() {
    if (!chosen)
        chosen = FindLayout();
    return *chosen;
}

bool PlayerFilesBesideData() {
    return !Layout().installed && QFileInfo(Layout().data).isWritable();
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

QString Path() {
    return Layout().data;
}

QString File(const QString& relative) {
    return Path() + relative;
}

QString PlayerFile(const QString& relative) {
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

void Override(const QString& folder, bool installed) {
    if (folder.isEmpty())
        chosen.reset();
    else
        chosen = TLayout{WithSlash(folder), installed};
}

} // namespace ProgramFolder
