#include "TestFolder.h"
#include "ui/DesktopShortcut.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points the user's home (and so the desktop folder) elsewhere until the guard goes.
[[nodiscard]] auto UseHome(const QString& home) {
    const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    return qScopeGuard([savedHome, savedConfig] {
        qputenv("HOME", savedHome);
        savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME")
                             : qputenv("XDG_CONFIG_HOME", savedConfig);
    });
}

QStringList Lines(const QByteArray& text) {
    return QString::fromUtf8(text).split('\n');
}

} // namespace

// Made twice, the shortcut is one executable launcher that starts this program in its
// folder, and the desktop folder is made when missing; a desktop that cannot be made is
// passed over in silence.
TEST(DesktopShortcut, TwiceLeavesOneLauncherThatStartsTheProgram) {
    TestFolder folder;
    QTemporaryDir home;
    {
        const auto scope = UseHome(home.path());
        CreateDesktopShortcut(folder.Program());
        CreateDesktopShortcut(folder.Program());
    }
    const QDir desktop(home.filePath("Desktop"));
    ASSERT_EQ(desktop.entryList(QDir::Files), QStringList({"Kordi 2000.desktop"}));
    const QString file = desktop.filePath("Kordi 2000.desktop");
    QFile launcher(file);
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    const QStringList lines = Lines(launcher.readAll());
    EXPECT_TRUE(lines.contains("Exec=" + QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(lines.contains("Path=" + QDir::cleanPath(folder.Path("."))));
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(QFileInfo(file).isExecutable());

    folder.Write("NotAFolder", "x");
    const auto scope = UseHome(folder.Path("NotAFolder"));
    CreateDesktopShortcut(folder.Program());
}

// A program path with spaces and shell characters is quoted and escaped as launchers read
// it back: string escapes first, then the quoting of the argument.
TEST(DesktopShortcut, ExecQuotesReservedCharacters) {
    const QStringList lines =
        Lines(DesktopEntry(R"(/home/a b/Kordi $2 "x" 100%/k\2000)", "/home/a b"));
    EXPECT_TRUE(lines.contains(R"(Exec="/home/a b/Kordi \\$2 \\"x\\" 100%%/k\\\\2000")"));
    EXPECT_TRUE(lines.contains("Path=/home/a b"));
    EXPECT_TRUE(lines.contains("Icon=/home/a b/kordi2000.png"));
    EXPECT_TRUE(Lines(DesktopEntry("/opt/kordi/kordi2000", "/opt/kordi"))
                    .contains("Exec=/opt/kordi/kordi2000"));
}
