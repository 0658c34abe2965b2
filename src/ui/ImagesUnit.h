#pragma once
// The nine skin slots that dress every window: 0 buttons, 1 cell, 2 traced cell,
// 3 letter button, 4 chosen letter, 5 main background, 6 other windows' background,
// 7 side panels, 8 word label.

#include "platform/Checked.h"

#include <QByteArray>
#include <QPixmap>

enum SkinSlot {
    SlotButton = 0,
    SlotCell = 1,
    SlotTracedCell = 2,
    SlotLetter = 3,
    SlotChosenLetter = 4,
    SlotMainBackground = 5,
    SlotWindowBackground = 6,
    SlotPanel = 7,
    SlotWordLabel = 8,
};

// The slots are created on first use: pictures cannot exist before the application does.
class TSkinBitmaps {
public:
    QPixmap& operator[](int slot);
};

extern TSkinBitmaps SkinBitmaps;

// The chosen pictures, as the settings file keeps them: per slot a texture file inside the
// textures folder (empty: the slot's default), the skin folder, and whether the skin is used.
extern CheckedArray<QByteArray, 0, 8> ImageNames;
extern QByteArray SkinName;
extern bool UseSkins;

// Fills the nine slots with the built-in pictures.
void LoadSkinImages();
