#include "core/MainUnit.h"
#include "core/SplashUnit.h"
#include "platform/CommandLine.h"
#include "platform/SafeApplication.h"
#include "platform/SdlSound.h"
#include "platform/TerminationSignals.h"
#include "ui/SoundUnit.h"

#include <QMessageBox>

int main(int argc, char** argv) {
    TSafeApplication::setApplicationName("Kordi 2000");
    TSafeApplication::setApplicationVersion(KORDI_VERSION);
    if (const auto status = AnswerCommandLine(ArgumentList(argc, argv), false))
        return *status;
    TerminationSignals::Catch();
    TSafeApplication app(argc, argv);
    TSafeApplication::setDesktopFileName("example.kordi2000.Kordi2000"); // the menu entry's name
    if (const auto status = AnswerCommandLine(TSafeApplication::arguments(), true))
        return *status;
    SetSoundOutput(OpenSoundOutput());
    try {
        RunStartUp();
    } catch (const std::exception& error) {
        // Nothing runs yet that could go on around the box: it waits for its answer.
        QMessageBox::critical(nullptr, TSafeApplication::applicationName(),
                              QString::fromUtf8(error.what()));
        return 1;
    }
    TerminationSignals::CloseOn(MainWindow, [] { MainWindow->close(); });
    const int result = TSafeApplication::exec();
    delete MainWindow; // and with it every other window
    return result;
}
