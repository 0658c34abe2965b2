#pragma once
// What every window shares of the program's look and sound: the skins that dress the
// windows, the sound effects with their switch, and the computer's faces. Made after the
// application, as every picture.

#include "ui/Faces.h"
#include "ui/Skins.h"
#include "ui/SoundEffects.h"

struct TPresentation {
    TSkins Skins;
    TSoundEffects Sounds;
    TFaces Faces;
};
