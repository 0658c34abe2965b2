#include "core/MainUnit.h"
#include "dictionary/SetCPUUnit.h"
#include "platform/SafeApplication.h"
#include "settings/AddRatingUnit.h"
#include "settings/WinnersUnit.h"
#include "platform/SdlSound.h"
#include "ui/ChoiceUnit.h"
#include "ui/SoundUnit.h"

int main(int argc, char** argv) {
    TSafeApplication app(argc, argv);
    TSafeApplication::setApplicationName("Kordi 2000");
    SetSoundOutput(OpenSoundOutput());
    TMainWindow window;
    TSetCPUWindow strength(&window);
    TChoiceWindow question(&window);
    TWinnersWindow winners(&window);
    TAddRatingWindow rating(&window);
    window.show();
    return TSafeApplication::exec();
}
