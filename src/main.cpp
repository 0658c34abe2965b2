#include "core/MainUnit.h"
#include "platform/SafeApplication.h"

int main(int argc, char** argv) {
    TSafeApplication app(argc, argv);
    TSafeApplication::setApplicationName("Kordi 2000");
    TMainWindow window;
    window.show();
    return TSafeApplication::exec();
}
