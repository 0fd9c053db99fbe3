#include "platform/Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <stdexcept>

#include "platform/Messages.h"

namespace platform {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The program speaks Russian whatever the desktop's language: Qt's own texts in standard
    // dialogs (file dialogs, context menus of edits) too, where the translation is installed.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error(""));
    }
    return false;
}

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace platform
