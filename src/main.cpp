#include "core/MainUnit.h"
#include "dictionary/SetCPUUnit.h"
#include "net/ChatUnit.h"
#include "net/Config.h"
#include "platform/SafeApplication.h"
#include "platform/SdlSound.h"
#include "ui/ChoiceUnit.h"
#include "ui/SoundUnit.h"

int main(int argc, char** argv) {
    TSafeApplication app(argc, argv);
    TSafeApplication::setApplicationName("Kordi 2000");
    SetSoundOutput(OpenSoundOutput());
    TMainWindow window;
    TChatWindow chat(&window);
    TConfigForm connection(&window);
    TSetCPUWindow strength(&window);
    TChoiceWindow question(&window);
    window.show();
    return TSafeApplication::exec();
}
