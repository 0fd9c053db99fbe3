#pragma once
// The "Ok" of the unbalanced-load dialogs: the per-phase entries checked, the total power put
// into the group window.
#include <vector>

class QLineEdit;

// Checks the power and cos phi fields, each list in phase order; the first failure is said and
// gives false. Otherwise the sum of the powers goes into the group window's power field, which
// is locked with its cos phi field, and true.
bool AcceptUnbalancedLoad(const std::vector<QLineEdit*>& powers,
                          const std::vector<QLineEdit*>& cosines);
