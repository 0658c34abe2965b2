#pragma once
// The nine skin slots that dress every window: 0 buttons, 1 cell, 2 traced cell,
// 3 letter button, 4 chosen letter, 5 main background, 6 other windows' background,
// 7 side panels, 8 word label. Their pictures come from one skin folder or from one texture
// file per slot, inside the "Textures" folder; whatever is missing or unreadable falls back
// to the folder "Default skin".

#include "platform/Checked.h"

#include <QByteArray>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <vector>

class IMessages;
class QWidget;
class TMainWindow;
class TProgramFolder;

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

inline constexpr char DefaultSkinName[] = "Default skin";

// The skin choices, the slot pictures made from them, and the windows they dress.
class TSkins {
public:
    // The pictures come from the program folder's "Textures"; a picture that cannot be read
    // is told through `messages`.
    TSkins(const TProgramFolder& folder, IMessages& messages);

    // The choices of the settings file's "Images" section (code page 1251 names).
    // Per slot, the bare file name of its texture inside TexturesFolder; empty: none chosen.
    CheckedArray<QByteArray, 0, 8> ImageNames;
    // The chosen skin: a sub-folder of TexturesFolder.
    QByteArray SkinName;
    // On: every slot from the skin SkinName; off: each slot from its own texture.
    bool UseSkins = true;

    // The program folder's "Textures", without a trailing '/'.
    const QString& TexturesFolder() const { return texturesFolder_; }
    // The slot's picture: empty until the first LoadSkinImages.
    const QPixmap& operator[](int slot) const { return bitmaps_[slot]; }

    // Refills the nine slots from disk; changes no control, so ApplySkins follows every call.
    void LoadSkinImages();
    // Hands the slot pictures to the controls of every window that exists.
    void ApplySkins();
    // Makes `dress` part of every ApplySkins while `window` exists, and runs it at once. It
    // puts the slot pictures on the window's controls. The smaller windows (TSkinnedDialog)
    // do this by themselves: they only name their button faces.
    void RegisterSkinned(QWidget* window, std::function<void()> dress);

private:
    struct TSkinned {
        QPointer<QWidget> window;
        std::function<void()> dress;
    };

    QString texturesFolder_;
    IMessages& messages_;
    CheckedArray<QPixmap, 0, 8> bitmaps_;
    std::vector<TSkinned> registry_;
};

// The main window: background 5, side panels 7, word label 8, skip and advice buttons 0,
// letter buttons 3 (4 for the chosen letter), board cells 1 (2 while traced).
void DressMainWindow(TMainWindow& window, const TSkins& skins);
