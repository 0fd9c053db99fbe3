#pragma once
// Opening links and documents with the desktop's default application: the mail client for a
// "mailto:" link, the browser for the help, the word processor for a report. Tests put a hook
// in place so that nothing is launched.
#include <functional>
#include <string>

namespace platform {

// Opens a URL ("mailto:...", "file:///...", "https://...") in its default application. The URL
// is given in encoded form (QUrl::FullyEncoded). False when the desktop could not open it.
bool ShellOpen(const std::string& url);

// While a hook is set, ShellOpen hands every URL to it instead of the desktop and returns its
// answer. An empty hook returns to the desktop.
using ShellOpenHook = std::function<bool(const std::string& url)>;
void SetShellOpenHook(ShellOpenHook hook);

}  // namespace platform
