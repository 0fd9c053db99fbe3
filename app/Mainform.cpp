#include "app/Mainform.h"

#include "app/WindowListsOnWindows.h"
#include "calc/Recalculation.h"
#include "groups/Dan12.h"
#include "model/Classd.h"

TForm1* Form1 = nullptr;

namespace {
WindowListsOnWindows windowListsOnWindows;
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    // File menu, status bar, recent projects (FormCreate).
    SetUpProjectCommands();
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
    // The transformer-side breaker the tree edits choose again (group-entry window).
    Hooks.SelectTransformerBreakerRating = [] {
        if (Dan1) Dan1->SelectTransformerBreakerRating();
    };
    Hooks.SelectTransformerVruBreaker = [] { return Dan1 && Dan1->SelectTransformerVruBreaker(); };
    Hooks.ShowSectionBreakerDialog = [] {
        if (Dan1) Dan1->ShowSectionBreakerDialog();
    };
}
