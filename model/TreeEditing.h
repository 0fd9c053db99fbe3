#pragma once

// The cascade walkers and structural edits of the project tree that the main window offers.
// Qt-free, so that they are tested without windows.
class TreeEditing {};
