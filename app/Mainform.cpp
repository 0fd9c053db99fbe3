#include "app/Mainform.h"

#include "app/WindowListsOnWindows.h"

TForm1* Form1 = nullptr;

namespace {
WindowListsOnWindows windowListsOnWindows;
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    // The tree edits rebuild the lists of the group-entry, edit and connection windows.
    SetWindowLists(&windowListsOnWindows);
}
