#include "selection/TreeEdits.h"

#include "app/Mainform.h"
#include "calc/Recalculation.h"
#include "model/TreeEditing.h"

namespace selection {

TreeEditing& TreeEdits() {
    if (Form1) return *Form1;
    static TreeEditing* const own = [] {
        auto* editing = new TreeEditing;
        editing->Hooks.DistributeCurrentPanel = [] {
            if (ProjectRoot) RunDistributionPasses(*ProjectRoot);
        };
        return editing;
    }();
    return *own;
}

}  // namespace selection
