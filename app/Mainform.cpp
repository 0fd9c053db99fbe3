#include "app/Mainform.h"

#include "app/WindowListsOnWindows.h"
#include "calc/Recalculation.h"
#include "model/Classd.h"

TForm1* Form1 = nullptr;

namespace {
WindowListsOnWindows windowListsOnWindows;
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    // The tree edits rebuild the lists of the group-entry, edit and connection windows.
    SetWindowLists(&windowListsOnWindows);
    // The recalculation steps the tree edits run.
    Hooks.RecalculateAfterPanelDeletion = [] {
        if (ProjectRoot) RunLoadPasses(*ProjectRoot);
    };
    Hooks.RecalculateSwitchboardTotals = [] {
        if (ProjectRoot) RunSectionTotalPasses(*ProjectRoot);
    };
    Hooks.DistributeCurrentPanel = [] {
        if (ProjectRoot) RunDistributionPasses(*ProjectRoot);
    };
}
