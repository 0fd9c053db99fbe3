#pragma once
// The tree edits of the main window that the cascade walks use: finding a cascade's head,
// numbering a cascade and exchanging the places of two panels.
class TreeEditing;

namespace selection {

// The main window's tree edits (its hooks redistribute the group lines of exchanged panels and
// its window lists are rebuilt), installed by it (SetTreeEdits); while none is installed, plain
// tree edits without window lists or hooks.
TreeEditing& TreeEdits();
// Installs the tree edits; ForgetTreeEdits takes them away when they are the ones installed.
void SetTreeEdits(TreeEditing* edits);
void ForgetTreeEdits(const TreeEditing* edits);

}  // namespace selection
