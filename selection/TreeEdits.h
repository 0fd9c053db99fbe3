#pragma once
// The tree edits of the main window that the cascade walks use: finding a cascade's head,
// numbering a cascade and exchanging the places of two panels.
class TreeEditing;

namespace selection {

// The main window's tree edits (its hooks redistribute the group lines of exchanged panels and
// its window lists are rebuilt); without a main window, an instance of their own that
// redistributes the exchanged panels' group lines.
TreeEditing& TreeEdits();

}  // namespace selection
