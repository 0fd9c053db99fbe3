#pragma once
// What the boxes of the connection window share when they read a feeder's entries and tell the
// user what is wrong with them.
#include <string>

class QLineEdit;

namespace editing {

// The warning box of the entry checks (caption "Предупреждение.").
void Warn(const std::string& text);
// The cable name and demand factor messages: no caption, no icon.
void Say(const std::string& text);
// A route length: a number above 0 (either decimal separator).
bool ReadLength(const QLineEdit& edit, double& length);
bool ReadInt(const QLineEdit& edit, int& value);
// The cable name problems shared by every box; "" when the name can be taken.
std::string CableNameProblem(const std::string& name);

}  // namespace editing
