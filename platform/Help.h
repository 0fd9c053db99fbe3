#pragma once
// The program's help: an HTML guide beside the program (Help/index.html), opened in the desktop
// browser at its contents or at the section of a window's help context.
#include <string>

namespace platform {

// Full path of the help file: program folder + "Help/index.html".
std::string HelpFilePath();

// Anchor of a help context's section in the help file: "context-105".
std::string HelpContextAnchor(int context);

// URL of the help file at the section of a context ("file:///.../Help/index.html#context-105");
// a context of 0 or less means the contents (no section).
std::string HelpUrl(int context);

// Opens the help at its contents. A missing help file, or a desktop that cannot open it, is
// reported in a message box.
void ShowHelpContents();

// Opens the help at the section of a help context (0 or less: the contents). Browsers started
// through a file launcher drop the "#section" of a file URL, so the help is reached through a
// small redirecting page written to a temporary folder.
void ShowHelpContext(int context);

}  // namespace platform
