#include "app/KordiApp.h"
#include "app/StartUp.h"
#include "platform/CommandLine.h"
#include "platform/Messages.h"
#include "platform/SafeApplication.h"
#include "platform/SdlSound.h"
#include "platform/TerminationSignals.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    TSafeApplication::setApplicationName("Kordi 2000");
    TSafeApplication::setApplicationVersion(KORDI_VERSION);
    if (const auto status = AnswerCommandLine(ArgumentList(argc, argv), false))
        return *status;
    TerminationSignals::Catch();
    TMessageBoxes messages;
    TSafeApplication app(argc, argv, messages);
    TSafeApplication::setDesktopFileName("example.kordi2000.Kordi2000"); // the menu entry's name
    if (const auto status = AnswerCommandLine(TSafeApplication::arguments(), true))
        return *status;
    TKordiApp kordi(messages, OpenSoundOutput());
    TStartUp startUp(kordi);
    QObject::connect(&startUp, &TStartUp::Finished, [&kordi] {
        TMainWindow* window = kordi.MainWindow();
        TerminationSignals::CloseOn(window, [window] { window->close(); });
    });
    // A program that could not start says why, and ends once the player has read it.
    QObject::connect(&startUp, &TStartUp::Failed, [&messages](const QString& text) {
        messages.ShowErrorThen(text, [] { TSafeApplication::exit(1); });
    });
    startUp.Start();
    return TSafeApplication::exec();
}
