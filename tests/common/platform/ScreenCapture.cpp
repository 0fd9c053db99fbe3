#include "ScreenCapture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QWidget>
#include <cstdlib>

std::string ScreenshotFolder() {
    const char* folder = std::getenv("VELTRANOVA_SCREENSHOTS");
    return folder ? folder : "";
}

void CaptureWindow(QWidget& window, const std::string& folder, const std::string& name) {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    QProcess::execute("sleep", {"0.5"});
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    const QString id = QString::number(window.winId());
    EXPECT_EQ(QProcess::execute(
                  "import", {"-frame", "-window", id, QString::fromStdString(folder + "/" + name)}),
              0)
        << name;
}
