#include "platform/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> AnswerCommandLine(const QStringList& arguments, bool final) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A word game for two on a 5 by 5 board, against the computer or over the network.");
    const QCommandLineOption help({"h", "help"}, "Displays this help.");
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const bool parsed = parser.parse(arguments);
    if (parsed && parser.isSet(help)) {
        // Without the application object the parser cannot name the program itself.
        const QString program = QFileInfo(arguments.value(0, "kordi2000")).fileName();
        Print(stdout, parser.helpText().replace("<executable_name>", program));
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        Print(stdout, QCoreApplication::applicationName() + ' ' +
                          QCoreApplication::applicationVersion() + '\n');
        return 0;
    }
    if (!final)
        return std::nullopt;
    if (!parsed) {
        Print(stderr, parser.errorText() + "\nTry --help.\n");
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Print(stderr,
              "Unexpected argument: " + parser.positionalArguments().first() + "\nTry --help.\n");
        return 2;
    }
    return std::nullopt;
}

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    return arguments;
}
