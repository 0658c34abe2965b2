// kordi-move: the game's own computer move on a position given on the command line.
//
//   kordi-move --dict PATH --lang 1|2 --strength N [--advice] [--used WORD]... [--repeat N] BOARD
//   kordi-move --dict PATH --review FILE
//
// BOARD is 25 letters in UTF-8, rows from top to bottom, each row from column 1 to 5,
// "." for an empty cell. Prints "WORD COL ROW LETTER" or "NONE"; with --repeat, the mean
// time of one move goes to standard error as "mean_us=<number>". With --review, FILE is a
// game record and each turn's review is printed on a line of its own, then the points each
// player left. Bad arguments or a bad record: exit 2.

#include "dictionary/Dictionary.h"
#include "dictionary/WordSearch.h"
#include "game/GameReview.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/SharedFile.h"
#include "settings/Settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>

namespace {

struct TUsageError : KordiError {
    using KordiError::KordiError;
};

int ParseNumber(const QString& text, const QString& what, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        throw TUsageError(QString("%1 must be a number from %2 to %3, not \"%4\"")
                              .arg(what)
                              .arg(low)
                              .arg(high)
                              .arg(text));
    return value;
}

// One letter of the language's alphabet as its alphabet index.
unsigned char AlphabetIndex(const TDictionary& words, QChar letter) {
    const QByteArray byte = CodePage::ToUpper(CodePage::FromUnicode(QString(letter)));
    // A character of no single byte (half of a surrogate pair) has no first byte to read.
    const int index = byte.size() == 1 && letter != '?'
                          ? static_cast<unsigned char>(byte[0]) - words.FirstLetter
                          : -1;
    if (index < 0 || index >= words.AlphabetSize())
        throw TUsageError(QString("\"%1\" is not a letter of the alphabet").arg(letter));
    return static_cast<unsigned char>(index);
}

TSearchBoard ParseBoard(const TDictionary& words, const QString& text) {
    if (text.size() != BoardCells)
        throw TUsageError(QString("the board must have 25 letters, not %1").arg(text.size()));
    TSearchBoard board;
    for (int i = 0; i < BoardCells; ++i) {
        const int row = i / 5, col = i % 5;
        board.Letters[col * 5 + row] = text[i] == '.' ? EmptyCell : AlphabetIndex(words, text[i]);
    }
    return board;
}

QByteArray ParseWord(const TDictionary& words, const QString& text) {
    QByteArray word;
    for (QChar c : text)
        word += static_cast<char>(words.FirstLetter + AlphabetIndex(words, c));
    return word;
}

QString Unicode(const QByteArray& letters) {
    return letters.isEmpty() ? "-" : CodePage::ToUnicode(letters);
}

// "TURN PLAYER PLAYED LENGTH BEST COL ROW LETTER MISSED", "-" for a pass or no best word.
QString ReviewLine(int number, const TRecordedTurn& turn, const TTurnReview& review) {
    const bool found = !review.Best.isEmpty();
    return QStringList{QString::number(number),
                       QString::number(turn.Player),
                       Unicode(turn.Word),
                       QString::number(turn.Word.size()),
                       Unicode(review.Best),
                       found ? QString::number(review.Cell.x()) : "-",
                       found ? QString::number(review.Cell.y()) : "-",
                       found ? Unicode(QByteArray(1, review.Letter)) : "-",
                       QString::number(review.Missed)}
        .join(' ');
}

int Review(const QString& dictionary, const QString& path) {
    const TGameRecord record = ReadRecord(SharedFile::Read(path), path);
    TDictionary words;
    UseLanguage(words, record.Language);
    words.LoadFile(dictionary);
    QTextStream out(stdout);
    QList<TTurnReview> reviews;
    for (const TRecordedTurn& turn : record.Turns) {
        reviews.append(ReviewTurn(turn, words));
        out << ReviewLine(static_cast<int>(reviews.size()), turn, reviews.last()) << '\n';
    }
    const auto left = PointsLeft(record, reviews);
    out << "left " << left[0] << ' ' << left[1] << '\n';
    return 0;
}

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOptions({{"dict", "Dictionary file.", "PATH"},
                       {"lang", "1 Russian, 2 English.", "N"},
                       {"strength", "Longest word, 3..8.", "N"},
                       {"advice", "Search as advice for the person."},
                       {"used", "A word already played.", "WORD"},
                       {"repeat", "Run the move N times and time it.", "N"},
                       {"review", "Review the game record in FILE.", "FILE"}});
    parser.addPositionalArgument("BOARD", "25 letters, rows top to bottom, '.' for empty.");
    if (!parser.parse(arguments))
        throw TUsageError(parser.errorText());
    if (parser.isSet("review") && parser.isSet("dict"))
        return Review(parser.value("dict"), parser.value("review"));
    if (!parser.isSet("dict") || !parser.isSet("lang") || !parser.isSet("strength") ||
        parser.positionalArguments().size() != 1)
        throw TUsageError("usage: kordi-move --dict PATH --lang 1|2 --strength N [--advice] "
                          "[--used WORD]... [--repeat N] BOARD\n"
                          "       kordi-move --dict PATH --review FILE");

    TDictionary words;
    UseLanguage(words, static_cast<quint16>(ParseNumber(parser.value("lang"), "--lang", 1, 2)));
    const int strength = ParseNumber(parser.value("strength"), "--strength", 3, 8);
    const int repeat =
        parser.isSet("repeat") ? ParseNumber(parser.value("repeat"), "--repeat", 1, 1000000) : 1;
    const TSearchBoard board = ParseBoard(words, parser.positionalArguments().first());
    QList<QByteArray> used;
    for (const QString& word : parser.values("used"))
        used.append(ParseWord(words, word));
    words.LoadFile(parser.value("dict"));
    const auto request = MakeSearchRequest(words, strength, parser.isSet("advice"), used);

    TSearchOutcome outcome;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < repeat; ++i)
        outcome = SearchBestMove(board, request, nullptr);
    const qint64 nanoseconds = clock.nsecsElapsed();

    QTextStream out(stdout);
    const TFoundMove& best = outcome.Best;
    if (best.Found())
        out << CodePage::ToUnicode(best.Word) << ' ' << best.Cell / 5 + 1 << ' '
            << best.Cell % 5 + 1 << ' '
            << CodePage::ToUnicode(QByteArray(1, char(words.FirstLetter + best.Letter))) << '\n';
    else
        out << "NONE\n";
    if (parser.isSet("repeat"))
        QTextStream(stderr) << "mean_us=" << nanoseconds / 1000.0 / repeat << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return Run(app.arguments());
    } catch (const KordiError& error) {
        std::fprintf(stderr, "kordi-move: %s\n", error.what());
    }
    return 2;
}
