#include "calc/PanelNumbers.h"

#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"

namespace {

std::string HangingEntry(const TSitid& panel) {
    return platform::IntToStr(panel.HangsOnPanel) + "(" + platform::IntToStr(panel.PanelNumber) +
           ")";
}

}  // namespace

PanelNumberList ListPanelNumbers(TGrsed* root) {
    PanelNumberList list;
    TGrsed* sw = root ? root->CurrentSwitchboard() : nullptr;
    if (!sw) return list;
    chains::ForEachPanelOf(*sw, sw->PanelCount, [&](const TSitid& panel) {
        list.Items.push_back(panel.OnTrunk || panel.PanelFlagC
                                 ? HangingEntry(panel)
                                 : platform::IntToStr(panel.PanelNumber));
    });
    sw->Panels.Cursor = sw->Panels.Last;
    if (!sw->Panels.Last) return list;
    const std::string marked = HangingEntry(*sw->Panels.Last);
    for (std::size_t i = 0; i < list.Items.size(); ++i)
        if (list.Items[i] == marked) list.Selected = static_cast<int>(i);
    return list;
}
