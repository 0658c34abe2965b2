#pragma once
// What every window shares of the program's look, sound and words: the skins that dress
// the windows, the sound effects with their switch, the computer's faces and the interface
// texts. Made after the application, as every picture.

#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"
#include "ui/Faces.h"
#include "ui/Skins.h"
#include "ui/SoundEffects.h"

struct TPresentation {
    TPresentation(const TTexts& texts, const TProgramFolder& folder, IMessages& messages)
        : Texts(texts), Folder(folder), Messages(messages), Skins(folder, messages),
          Sounds(folder) {}

    const TTexts& Texts;
    // Where the pictures, sounds and dictionaries are found.
    const TProgramFolder Folder;
    // Where the windows show their messages and the errors of their handlers.
    IMessages& Messages;
    TSkins Skins;
    TSoundEffects Sounds;
    TFaces Faces;
};
