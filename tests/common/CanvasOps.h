#pragma once
// Filters of the operations a recording canvas holds.
#include <vector>

#include "platform/Canvas.h"

// Operations of one kind, in order.
std::vector<platform::CanvasOp> OpsOf(const std::vector<platform::CanvasOp>& ops,
                                      platform::CanvasOpKind kind);
