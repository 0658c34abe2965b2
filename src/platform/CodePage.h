#pragma once
// Single-byte text of code page 1251 (its lower half is ASCII): the encoding of
// every word, letter, text and file inside the program.

#include <QByteArray>
#include <QString>

namespace CodePage {

// The capital of a small letter of code page 1251 (Latin or Cyrillic); any other byte unchanged.
unsigned char FoldCase(unsigned char c);

// The text with every small letter turned into its capital.
QByteArray ToUpper(QByteArrayView text);

// Orders two strings by their case-folded bytes: negative, zero or positive.
int CompareNoCase(QByteArrayView a, QByteArrayView b);

QString ToUnicode(QByteArrayView text);

// Characters with no place in code page 1251 become '?'.
QByteArray FromUnicode(QStringView text);

// The text made fit to stand on one line of a file, as a name must: tabs and line breaks
// become blanks, every other control byte '?'.
QByteArray OneLine(QByteArrayView text);

} // namespace CodePage
