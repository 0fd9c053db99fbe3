#pragma once
#include <QApplication>

namespace platform {

// The application object: an exception that escapes any event handler is shown in the standard
// error box and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// True when the process can show windows: a display is named or a Qt platform is chosen.
bool DisplayAvailable();

}  // namespace platform
