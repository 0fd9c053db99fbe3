#pragma once
#include <string>

namespace platform {

// The folder of the program's own executable, with a trailing '/'. Reference tables, example
// projects, templates and help are found there.
const std::string& ProgramFolder();

// Points the program folder elsewhere (tests use a temporary folder). An empty path returns
// to the executable's folder.
void SetProgramFolder(const std::string& folder);

// Makes the program folder the process's current folder; false when that fails.
bool MakeProgramFolderCurrent();

// The same for code that opens tables by the thousand: nothing is done when the folder is the one
// MakeProgramFolderCurrent made current last (the program changes its current folder nowhere
// else).
bool KeepProgramFolderCurrent();

}  // namespace platform
