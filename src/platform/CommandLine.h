#pragma once
// The game's command line: --help and --version are answered on the terminal, and anything
// else given is an error with exit status 2.

#include <QStringList>
#include <optional>

// The exit status when the command line was answered or refused; nothing when the game is
// to start. Before the application object exists (`final` false) only --help and --version
// are answered, so they need no display; the toolkit's own options (-platform and the like)
// are known for what they are only after it has taken them out of the arguments.
std::optional<int> AnswerCommandLine(const QStringList& arguments, bool final);

// The arguments as the program was given them.
QStringList ArgumentList(int argc, char** argv);
