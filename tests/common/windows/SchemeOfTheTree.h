#pragma once
// What the scheme window's general scheme shows, read from the texts its picture recorded.
#include <string>
#include <vector>

// The texts that the scheme window's picture recorded (a CanvasRecordingScope must be alive).
std::vector<std::string> SchemeTexts();
bool SchemeShows(const std::string& text);
// The general scheme is shown and draws every group line of the tree once, under its name.
void ExpectSchemeOfTheTree(const char* what);
