#pragma once
// The lists the windows keep of the project tree, rebuilt from the whole tree after the edits
// change it, and the commands of the main window that an open editor blocks.

class QWidget;

namespace editing {

// TDan1: the group names of the project and the panel list "Щит №" (every panel's number in
// tree order, the last one chosen); the connection window's cable names.
void RefillGroupEntryLists();
// The switchboard numbers in the connection window's list (none chosen) and its counter.
void RefillSwitchboardList();
// The cable names of the connection window and the group names of TDan1.
void RefillNameLists();

// While an editor is open (the group line window in its edit mode or the connection window in
// an edit layout) the commands that open another editor or the connection window are disabled.
void UpdateEditCommands();
// Keeps those commands up to date as the editors' windows (the connection window given, and
// the group line window) show and hide.
void WatchEditors(QWidget& shiti);

}  // namespace editing
