#pragma once
// The application for the benchmarks that need its windows, made once for the whole run: every
// window created in start-up order, a temporary program folder and settings, and no user: every
// message is answered with OK.
#include <string>
#include <vector>

// Starts the application on its first call; the program folder, with a trailing separator.
const std::string& StartApplication();

// Makes `folder` the program folder and opens its breaker and transformer bases again, as the
// windows open them at the start.
void OpenBaseTables(const std::string& folder);

// The texts of the messages shown since the start.
const std::vector<std::string>& ShownMessages();
