#include "calc/PanelNumbers.h"

#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"

std::string HangingPanelItem(const TSitid& panel) {
    return platform::IntToStr(panel.HangsOnPanel) + "(" + platform::IntToStr(panel.PanelNumber) +
           ")";
}

std::string PanelListItem(const TSitid& panel) {
    return panel.OnTrunk || panel.PanelFlagC ? HangingPanelItem(panel)
                                             : platform::IntToStr(panel.PanelNumber);
}

std::vector<std::string> ProjectPanelItems(const TGrsed& root) {
    std::vector<std::string> items;
    for (const TGrsed* sw : chains::SwitchboardsOf(root))
        for (const TSitid* panel : chains::PanelsOf(*sw)) items.push_back(PanelListItem(*panel));
    return items;
}

PanelNumberList ListPanelNumbers(TGrsed* root) {
    PanelNumberList list;
    TGrsed* sw = root ? root->CurrentSwitchboard() : nullptr;
    if (!sw) return list;
    chains::ForEachPanelOf(*sw, sw->PanelCount, [&](const TSitid& panel) {
        list.Items.push_back(PanelListItem(panel));
    });
    sw->Panels.Cursor = sw->Panels.Last;
    if (!sw->Panels.Last) return list;
    const std::string marked = HangingPanelItem(*sw->Panels.Last);
    for (std::size_t i = 0; i < list.Items.size(); ++i)
        if (list.Items[i] == marked) list.Selected = static_cast<int>(i);
    return list;
}
