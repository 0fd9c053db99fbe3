// Program entry: the application object, every window in its start-up order, the event loop.
#include <cstdio>
#include <stdexcept>

#include "app/Mainform.h"
#include "app/Startup.h"
#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/Messages.h"

int main(int argc, char** argv) {
    if (!platform::DisplayAvailable()) {
        std::fputs(
            "Veltranovaplanir: нет дисплея для окна программы (DISPLAY не задан).\n"
            "Veltranovaplanir needs a display: run it in a desktop session or under "
            "xvfb-run.\n",
            stderr);
        return 1;
    }
    platform::TApplication app(argc, argv);
    platform::SetApplicationTitle("Veltranovaplanir");
    platform::InstallFontSubstitutes();
    try {
        CreateAllWindows();
        Form1->show();
        app.exec();
    } catch (const std::exception& e) {
        platform::ShowException(e);
    } catch (...) {
        platform::ShowException(std::runtime_error(""));
    }
    DestroyAllWindows();
    return 0;
}
