#pragma once
// Opening links and documents with the desktop's default application: the mail client for a
// "mailto:" link, the browser for the help, the word processor for a report. The desktop's
// opener (xdg-open) is run and watched, so that a desktop with no application for the link is
// noticed: the opener then ends with a failure status. Tests put a hook in place so that
// nothing is launched, or a fake opener program.
#include <functional>
#include <string>

namespace platform {

// Opens a URL ("mailto:...", "file:///...", "https://...") in its default application. The URL
// is given in encoded form (QUrl::FullyEncoded). `failed` runs when the opener cannot be started
// or ends reporting a failure (nothing could open the URL); that can be at once or later, from
// the event loop, since the program never waits for the opener: on some desktops it keeps
// running as long as the application it started.
void ShellOpen(const std::string& url, const std::function<void()>& failed);

// While a hook is set, ShellOpen hands every URL to it instead of the desktop; a false answer
// counts as a failure at once. An empty hook returns to the desktop.
using ShellOpenHook = std::function<bool(const std::string& url)>;
void SetShellOpenHook(ShellOpenHook hook);

// The opener program that ShellOpen runs with the URL as its one argument: a full path, or a
// name looked up on the PATH. Empty: the desktop's "xdg-open".
void SetShellOpener(const std::string& program);

// Waits until every opener started so far has ended and its failure, if any, was reported;
// false when one still runs after `msecs` milliseconds.
bool WaitForShellOpeners(int msecs);

}  // namespace platform
