#pragma once
// The application as every window test sees it: the program folder of ProgramFolderFixture and
// all windows created in start-up order.
#include <string>

#include "ProgramFolderFixture.h"
#include "app/Startup.h"

// A fixture of a lower floor run with all the program's windows in place of its own.
template <class Fixture>
class WithAllWindows : public Fixture {
protected:
    void CreateWindows() override { CreateAllWindows(); }
    void DestroyWindows() override { DestroyAllWindows(); }
};

class AppFixture : public WithAllWindows<ProgramFolderFixture> {};

// The file the open project would be written as (the group counters and the stamp as the windows
// hold them).
std::string ProjectBytes();
