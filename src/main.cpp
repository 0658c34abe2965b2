#include "core/MainUnit.h"
#include "core/SplashUnit.h"
#include "platform/SafeApplication.h"
#include "platform/SdlSound.h"
#include "ui/SoundUnit.h"

#include <QMessageBox>

int main(int argc, char** argv) {
    TSafeApplication app(argc, argv);
    TSafeApplication::setApplicationName("Kordi 2000");
    SetSoundOutput(OpenSoundOutput());
    try {
        RunStartUp();
    } catch (const std::exception& error) {
        // Nothing runs yet that could go on around the box: it waits for its answer.
        QMessageBox::critical(nullptr, TSafeApplication::applicationName(),
                              QString::fromUtf8(error.what()));
        return 1;
    }
    const int result = TSafeApplication::exec();
    delete MainWindow; // and with it every other window
    return result;
}
