#include "CanvasOps.h"

std::vector<platform::CanvasOp> OpsOf(const std::vector<platform::CanvasOp>& ops,
                                      platform::CanvasOpKind kind) {
    std::vector<platform::CanvasOp> out;
    for (const platform::CanvasOp& op : ops)
        if (op.Kind == kind) out.push_back(op);
    return out;
}
