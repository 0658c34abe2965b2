#pragma once
// What a run keeps of the player's data besides the look: the settings file with the
// interface texts, the dictionary of the current language, the records table and the
// fields of the connection and chat windows. The app owns it; the main window hands each
// window its part.

#include "dictionary/Dictionary.h"
#include "platform/ProgramFolder.h"
#include "settings/Records.h"
#include "settings/Settings.h"

struct TRunData {
    // The settings file of the program folder as it is when the data is made.
    explicit TRunData(const TProgramFolder& folder)
        : Folder(folder), Settings(SettingsFileName(Folder)) {}
    TRunData(const TRunData&) = delete;
    TRunData& operator=(const TRunData&) = delete;

    // Where the player's files are read and written.
    const TProgramFolder Folder;
    TSettingsFile Settings;
    // The settings file as shipped; the same file as Settings unless the game is installed.
    const TIniFile ShippedSettings{Folder.File("Kordi2000.ini")};
    TDictionary Words;
    TTexts Texts{Settings, ShippedSettings, Words};
    TRunWinners Winners;
    TNetPlayFields NetPlay;
};
