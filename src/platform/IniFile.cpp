#include "platform/IniFile.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/SharedFile.h"

#include <QFile>
#include <QList>
#include <optional>

namespace {

// One line of the file: its text [Begin, End) without the line end, and where the next
// line starts (Next == End only for a last line without a line end).
struct TLine {
    qsizetype Begin;
    qsizetype End;
    qsizetype Next;
};

// A line ends with LF or CR LF. A CR at the very end of the file ends no line: it stays in
// the last line's text, so whatever is added after that line starts on a line of its own.
QList<TLine> SplitLines(const QByteArray& text) {
    QList<TLine> lines;
    for (qsizetype begin = 0; begin < text.size();) {
        const qsizetype newline = text.indexOf('\n', begin);
        if (newline < 0) {
            lines.append({begin, text.size(), text.size()});
            break;
        }
        const qsizetype end = newline > begin && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.append({begin, end, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

bool SameName(QByteArrayView a, QByteArrayView b) {
    return CodePage::CompareNoCase(a, b) == 0;
}

// The name inside a "[name]" line; nothing for any other line.
std::optional<QByteArrayView> SectionName(QByteArrayView line) {
    line = line.trimmed();
    if (!line.startsWith('['))
        return std::nullopt;
    line = line.sliced(1);
    const qsizetype close = line.indexOf(']');
    return (close < 0 ? line : line.first(close)).trimmed();
}

// Where a key of a section stands. Only the first section of a name is looked at, and in
// it the first line of the key.
struct TPlace {
    std::optional<TLine> SectionLastLine; // the last non-blank line of the section
    std::optional<TLine> KeyLine;
    QByteArrayView Value;
};

TPlace Locate(const QByteArray& text, QByteArrayView section, QByteArrayView key) {
    TPlace place;
    for (const TLine& line : SplitLines(text)) {
        const QByteArrayView content =
            QByteArrayView(text).sliced(line.Begin, line.End - line.Begin);
        if (const auto name = SectionName(content)) {
            if (place.SectionLastLine)
                break;
            if (SameName(*name, section))
                place.SectionLastLine = line;
            continue;
        }
        if (!place.SectionLastLine)
            continue;
        if (!content.trimmed().isEmpty())
            place.SectionLastLine = line;
        const qsizetype equals = content.indexOf('=');
        if (equals >= 0 && SameName(content.first(equals).trimmed(), key)) {
            place.KeyLine = line;
            place.Value = content.sliced(equals + 1).trimmed();
            break;
        }
    }
    return place;
}

QByteArray ReadFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// New lines follow the file's own line ends; a new file gets CR LF.
QByteArray LineEndOf(const QByteArray& text) {
    return text.contains('\n') && !text.contains("\r\n") ? "\n" : "\r\n";
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// One pair of matching quotes around a value is no part of it, as the platform reads it.
QByteArrayView WithoutQuotes(QByteArrayView value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// A line break inside a value would start a new line of the file. A value that reading
// would change (blanks at its ends, quotes around it) is put in quotes, so it reads back
// byte for byte.
QByteArray StoredValue(QByteArrayView value) {
    QByteArray line = value.toByteArray();
    line.replace('\r', ' ').replace('\n', ' ');
    if (line.trimmed() != line || WithoutQuotes(line) != line)
        return '"' + line + '"';
    return line;
}

// The text with the key set to the value: in place of its line, else at the end of its
// section, else in a new section at the end.
QByteArray WithEntry(const QByteArray& text, QByteArrayView section, QByteArrayView key,
                     QByteArrayView value) {
    const QByteArray lineEnd = LineEndOf(text);
    const QByteArray entry = key.toByteArray() + '=' + StoredValue(value);
    const TPlace place = Locate(text, section, key);
    QByteArray updated = text;
    if (place.KeyLine) {
        updated.replace(place.KeyLine->Begin, place.KeyLine->End - place.KeyLine->Begin, entry);
    } else if (const auto& last = place.SectionLastLine) {
        const QByteArray before = last->Next == last->End ? lineEnd : QByteArray();
        updated.insert(last->Next, before + entry + lineEnd);
    } else {
        if (!text.isEmpty() && !text.endsWith('\n'))
            updated += lineEnd;
        updated += '[' + section.toByteArray() + ']' + lineEnd + entry + lineEnd;
    }
    return updated;
}

} // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

QByteArray TIniFile::ReadString(QByteArrayView section, QByteArrayView key,
                                QByteArrayView defaultValue) const {
    // The default passes through the same read buffer as a stored value.
    const std::optional<QByteArray> value = Find(section, key);
    return value ? *value
                 : defaultValue.first(std::min(defaultValue.size(), MaxValueLength)).toByteArray();
}

std::optional<QByteArray> TIniFile::Find(QByteArrayView section, QByteArrayView key) const {
    const QByteArray text = ReadFile(fileName_);
    const TPlace place = Locate(text, section, key);
    if (!place.KeyLine)
        return std::nullopt;
    const QByteArrayView value = WithoutQuotes(place.Value);
    return value.first(std::min(value.size(), MaxValueLength)).toByteArray();
}

int TIniFile::ReadInteger(QByteArrayView section, QByteArrayView key, int defaultValue) const {
    bool ok = false;
    const int value = ReadString(section, key, {}).toInt(&ok);
    return ok ? value : defaultValue;
}

void TIniFile::WriteString(QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    const QString failure = QString("Unable to write to %1").arg(fileName_);
    QByteArray text;
    try {
        if (QFile::exists(fileName_))
            text = SharedFile::Read(fileName_);
    } catch (const IoError&) {
        throw IoError(failure); // rewriting a file we cannot read would lose its contents
    }

    try {
        SharedFile::Replace(fileName_, WithEntry(text, section, key, value));
    } catch (const IoError&) {
        throw IoError(failure);
    }
}

void TIniFile::WriteInteger(QByteArrayView section, QByteArrayView key, int value) {
    WriteString(section, key, QByteArray::number(value));
}
