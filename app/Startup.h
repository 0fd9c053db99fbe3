#pragma once
#include <string>
#include <vector>

// Creates every window once, in the fixed start-up order, into its global instance.
// main() and the test fixture both use it.
void CreateAllWindows();

// Destroys every window in reverse order and clears the globals.
void DestroyAllWindows();

// Class names of the windows in the order the last CreateAllWindows made them.
const std::vector<std::string>& WindowCreationOrder();
