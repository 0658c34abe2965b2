#include "core/MainUnit.h"
#include "core/SplashUnit.h"
#include "platform/SafeApplication.h"
#include "platform/SdlSound.h"
#include "ui/SoundUnit.h"

int main(int argc, char** argv) {
    TSafeApplication app(argc, argv);
    TSafeApplication::setApplicationName("Kordi 2000");
    SetSoundOutput(OpenSoundOutput());
    try {
        RunStartUp();
    } catch (const std::exception& error) {
        TSafeApplication::ShowError(QString::fromUtf8(error.what()));
        return 1;
    }
    const int result = TSafeApplication::exec();
    delete MainWindow; // and with it every other window
    return result;
}
