#pragma once
// What a run keeps of the player's data besides the look: the records table and the fields
// of the connection and chat windows. The app owns it; the main window hands each window
// its part.

#include "settings/Records.h"
#include "settings/Settings.h"

struct TRunData {
    TRunWinners Winners;
    TNetPlayFields NetPlay;
};
