#include "TreeLookup.h"

#include "model/Chains.h"
#include "model/Classd.h"

TGrsed* SwitchboardNumbered(int number) {
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next)
        if (sw->SwitchboardNumber == number) return sw;
    return nullptr;
}

TSitid* PanelNumbered(int number) {
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next)
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next)
            if (p->PanelNumber == number) return p;
    return nullptr;
}

std::vector<std::string> GroupNames(const TSitid& panel, int count) {
    std::vector<std::string> names;
    for (const TCxemaGrupd* g : chains::Elements(panel.SchemeGroups, chains::SchemeLink{}, count))
        names.push_back(g->GroupName);
    return names;
}
