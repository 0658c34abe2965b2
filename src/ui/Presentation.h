#pragma once
// What every window shares of the program's look, sound and words: the skins that dress
// the windows, the sound effects with their switch, the computer's faces and the interface
// texts. Made after the application, as every picture.

#include "settings/Settings.h"
#include "ui/Faces.h"
#include "ui/Skins.h"
#include "ui/SoundEffects.h"

struct TPresentation {
    explicit TPresentation(const TTexts& texts) : Texts(texts) {}

    const TTexts& Texts;
    TSkins Skins;
    TSoundEffects Sounds;
    TFaces Faces;
};
