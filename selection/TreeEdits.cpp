#include "selection/TreeEdits.h"

#include "model/TreeEditing.h"

namespace selection {
namespace {

TreeEditing* installed = nullptr;

// What the edits run on while no main window installed its own: the tree edits alone, with no
// window lists to rebuild and no hooks into the calculation.
TreeEditing& PlainTreeEdits() {
    static TreeEditing plain;
    return plain;
}

}  // namespace

TreeEditing& TreeEdits() {
    return installed ? *installed : PlainTreeEdits();
}

void SetTreeEdits(TreeEditing* edits) {
    installed = edits;
}

void ForgetTreeEdits(const TreeEditing* edits) {
    if (installed == edits) installed = nullptr;
}

}  // namespace selection
