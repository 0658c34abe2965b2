#include "platform/CodePage.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace CodePage {
namespace {

std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c) // а..я
        table[c] = static_cast<unsigned char>(c - 32);
    // The Cyrillic letters outside the main block, as small/capital pairs of the code page.
    const std::pair<int, int> pairs[] = {{0xB8, 0xA8}, {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A},
                                         {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},
                                         {0xA2, 0xA1}, {0xB3, 0xB2}, {0xB4, 0xA5}, {0xBA, 0xAA},
                                         {0xBE, 0xBD}, {0xBF, 0xAF}, {0xBC, 0xA3}};
    for (auto [small, capital] : pairs)
        table[small] = static_cast<unsigned char>(capital);
    return table;
}

const std::array<unsigned char, 256> kFold = MakeFoldTable();

// Each character of the code page with its byte. The platform's encoder is not used: it
// writes the control byte 0x1A, not '?', for a character the code page lacks.
QHash<char32_t, char> MakeEncodeTable() {
    QHash<char32_t, char> table;
    for (int c = 0; c < 256; ++c) {
        const char byte = static_cast<char>(c);
        const QString character = ToUnicode(QByteArrayView(&byte, 1));
        if (character.size() == 1 && character[0] != QChar::ReplacementCharacter)
            table.insert(character[0].unicode(), byte);
    }
    return table;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

unsigned char FoldCase(unsigned char c) {
    return kFold[c];
}

QByteArray ToUpper(QByteArrayView text) {
    QByteArray upper(text.data(), text.size());
    for (char& c : upper)
        c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    return upper;
}

int CompareNoCase(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int diff =
            kFold[static_cast<unsigned char>(a[i])] - kFold[static_cast<unsigned char>(b[i])];
        if (diff != 0)
            return diff;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QString ToUnicode(QByteArrayView text) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(text);
}

QByteArray FromUnicode(QStringView text) {
    static const QHash<char32_t, char> encode = MakeEncodeTable();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t character : text.toUcs4())
        bytes += encode.value(character, '?');
    return bytes;
}

QByteArray OneLine(QByteArrayView text) {
    QByteArray line = text.toByteArray();
    for (char& c : line)
        if (IsControl(c))
            c = c == '\t' || c == '\r' || c == '\n' ? ' ' : '?';
    return line;
}

} // namespace CodePage
