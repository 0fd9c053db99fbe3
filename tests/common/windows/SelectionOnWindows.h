#pragma once
// A fixture of the selection's tests run with all the program's windows: the checks are the
// group-entry window's own, and the main window's tree edits and check windows are installed.
#include <string>
#include <vector>

#include "AppFixture.h"
#include "groups/Dan12.h"

template <class Fixture>
class OnTheWindows : public WithAllWindows<Fixture> {
protected:
    void CreateWindows() override {
        WithAllWindows<Fixture>::CreateWindows();
        this->checks_ = Dan1;
    }
    void DestroyWindows() override {
        this->checks_ = &this->ownChecks_;
        WithAllWindows<Fixture>::DestroyWindows();
    }
    TDan1& dan() { return *Dan1; }
};

// The series of the breaker dialog's list.
std::vector<std::string> ListedSeries();
