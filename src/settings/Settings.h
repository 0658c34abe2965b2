#pragma once
// The settings file Kordi2000.ini beside the program: the settings sections "Kordi",
// "Images" and "NetPlay", and one section of interface texts per language.

#include "platform/IniFile.h"

#include <QColor>
#include <QList>

class TProgramFolder;
struct TDictionary;

class TSettingsFile : public TIniFile {
public:
    using TIniFile::TIniFile;

    // A flag is on only when its text is exactly "1".
    bool ReadFlag(QByteArrayView section, QByteArrayView key, bool defaultValue) const;
    void WriteFlag(QByteArrayView section, QByteArrayView key, bool on);

    // "Kordi"/"LanguageNumber": 1 (Russian) or 2 (English); anything else reads as 1.
    quint16 ReadLanguageNumber() const;
    // "Kordi"/"Strong": the strength level brought into 1..6.
    int ReadStrengthLevel() const;
    // "Images"/"CPU_Face_r", "_g", "_b": the face tint, each part brought into 0..255.
    QColor ReadFaceTint() const;
};

// The fields of the connection and chat windows, kept up to date by those windows and
// written by SaveSettings.
struct TNetPlayFields {
    int Port = 0;
    QByteArray HostName = "localhost";
    QByteArray Name = "X";
    bool AutoPopUpChat = true;
};

// The settings file of the run: Kordi2000.ini in the program folder.
QString SettingsFileName(const TProgramFolder& folder);

// The interface texts of the dictionary's current language, read from the settings file.
class TTexts {
public:
    // `file` is the player's settings file; `shipped`, the one beside the program, fills in
    // the texts a copy made by an older version lacks. They may be the same file.
    TTexts(const TIniFile& file, const TIniFile& shipped, const TDictionary& words)
        : file_(file), shipped_(shipped), words_(words) {}

    // The text of the key in the current language's section (LanguageName), from the
    // player's file or else the shipped one; "?" when neither holds it. Code page 1251.
    QByteArray GetText(QByteArrayView key) const;
    // The same text decoded for display.
    QString GetTextU(QByteArrayView key) const;
    // The current language: 1 Russian, 2 English.
    quint16 Language() const;

private:
    const TIniFile& file_;
    const TIniFile& shipped_;
    const TDictionary& words_;
};

// The text with each "%d" in turn replaced by the next number and "%%" by "%"; every other
// character, including any other "%" sequence, is kept as it is. Texts come from a file
// the player may edit, so they are never handed to printf as a format.
QByteArray FillNumbers(QByteArrayView format, const QList<int>& numbers);

// The bare file name of a texture entry: everything after its last "\", "/" or ":".
QByteArray BareFileName(QByteArrayView entry);
