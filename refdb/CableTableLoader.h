#pragma once

// Opens a cable current table by name into the cable table window's dataset (used through the
// group-entry window). Qt-free apart from its messages.
class CableTableLoader {};
