// Pictures of windows taken from the screen for the developers to look at: only when
// VELTRANOVA_SCREENSHOTS names a folder (run on an X display with a window manager; each window
// is captured by its id with ImageMagick's "import").
#pragma once

#include <string>

class QWidget;

// The folder named by VELTRANOVA_SCREENSHOTS, empty when none is named.
std::string ScreenshotFolder();

// Lets the window settle, then writes it with its frame as <folder>/<name>; a failed capture
// fails the test.
void CaptureWindow(QWidget& window, const std::string& folder, const std::string& name);
