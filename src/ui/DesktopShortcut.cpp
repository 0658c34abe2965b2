#include "ui/DesktopShortcut.h"

#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const char ShortcutName[] = "Kordi 2000.desktop";

// A string value of a desktop entry: backslashes and control characters escaped.
QString EscapeValue(QString value) {
    value.replace('\\', "\\\\");
    value.replace('\n', "\\n");
    value.replace('\t', "\\t");
    value.replace('\r', "\\r");
    return value;
}

// The program as the Exec key's argument: quoted when it holds a reserved character, and
// inside the quotes '"', '`', '$' and '\' take a backslash. A '%' is doubled, as it starts
// no field code.
QString ExecArgument(QString program) {
    program.replace('%', "%%");
    static const QString reserved = " \t\n\"'\\><~|&;$*?#()`";
    if (std::none_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); }))
        return program;
    QString quoted = "\"";
    for (QChar c : program) {
        if (QStringLiteral("\"`$\\").contains(c))
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// Desktops that ask before starting a launcher they have not seen trust one marked so.
void MarkTrusted(const QString& file) {
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        return;
    QProcess process;
    process.start(gio, {"set", file, "metadata::trusted", "true"});
    if (!process.waitForFinished(3000))
        process.kill();
}

} // namespace

QByteArray DesktopEntry(const QString& program, const QString& folder) {
    const QStringList lines = {
        "[Desktop Entry]",
        "Type=Application",
        "Version=1.0",
        "Name=Kordi 2000",
        "Exec=" + EscapeValue(ExecArgument(program)),
        "Path=" + EscapeValue(folder),
        "Icon=" + EscapeValue(QDir(folder).filePath("kordi2000.png")),
        "Terminal=false",
        "Categories=Game;",
    };
    return (lines.join('\n') + '\n').toUtf8();
}

void CreateDesktopShortcut(const TProgramFolder& programFolder) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty() || !QDir().mkpath(desktop))
        return;
    const QString file = QDir(desktop).filePath(ShortcutName);
    QString folder = programFolder.Path();
    folder.chop(1); // no trailing '/'
    QSaveFile launcher(file);
    if (!launcher.open(QIODevice::WriteOnly))
        return;
    launcher.write(DesktopEntry(QCoreApplication::applicationFilePath(), folder));
    if (!launcher.commit())
        return;
    QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner | QFile::ExeGroup |
                                    QFile::ExeOther);
    MarkTrusted(file);
}
