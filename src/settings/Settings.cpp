#include "settings/Settings.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/ProgramFolder.h"

#include <algorithm>

bool TSettingsFile::ReadFlag(QByteArrayView section, QByteArrayView key, bool defaultValue) const {
    return ReadString(section, key, defaultValue ? "1" : "0") == "1";
}

void TSettingsFile::WriteFlag(QByteArrayView section, QByteArrayView key, bool on) {
    WriteString(section, key, on ? "1" : "0");
}

quint16 TSettingsFile::ReadLanguageNumber() const {
    const int number = ReadInteger("Kordi", "LanguageNumber", 1);
    return number == 2 ? 2 : 1;
}

int TSettingsFile::ReadStrengthLevel() const {
    return std::clamp(ReadInteger("Kordi", "Strong", 16), 1, 6);
}

QColor TSettingsFile::ReadFaceTint() const {
    const auto part = [this](QByteArrayView key) {
        return std::clamp(ReadInteger("Images", key, 255), 0, 255);
    };
    return QColor(part("CPU_Face_r"), part("CPU_Face_g"), part("CPU_Face_b"));
}

QString SettingsFileName(const TProgramFolder& folder) {
    return folder.PlayerFile("Kordi2000.ini");
}

QByteArray TTexts::GetText(QByteArrayView key) const {
    const QByteArray section = words_.LanguageName.toLatin1();
    if (std::optional<QByteArray> text = file_.Find(section, key))
        return *std::move(text);
    // Beside the program the two are one file, already read for this key.
    if (shipped_.FileName() == file_.FileName())
        return "?";
    return shipped_.ReadString(section, key, "?");
}

QString TTexts::GetTextU(QByteArrayView key) const {
    return CodePage::ToUnicode(GetText(key));
}

quint16 TTexts::Language() const {
    return words_.Language;
}

QByteArray FillNumbers(QByteArrayView format, const QList<int>& numbers) {
    QByteArray text;
    auto next = numbers.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QByteArrayView rest = format.sliced(i);
        if (rest.startsWith("%d") && next != numbers.end()) {
            text += QByteArray::number(*next++);
            ++i;
        } else if (rest.startsWith("%%")) {
            text += '%';
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

QByteArray BareFileName(QByteArrayView entry) {
    const auto isSeparator = [](char c) { return c == '\\' || c == '/' || c == ':'; };
    const auto lastSeparator = std::find_if(entry.rbegin(), entry.rend(), isSeparator);
    return QByteArray(lastSeparator.base(), entry.end() - lastSeparator.base());
}
