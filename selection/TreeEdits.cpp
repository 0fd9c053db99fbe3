#include "selection/TreeEdits.h"

namespace selection {
namespace {

TreeEditing* installed = nullptr;

}  // namespace

TreeEditing& TreeEdits() {
    return *installed;
}

void SetTreeEdits(TreeEditing* edits) {
    installed = edits;
}

void ForgetTreeEdits(const TreeEditing* edits) {
    if (installed == edits) installed = nullptr;
}

}  // namespace selection
