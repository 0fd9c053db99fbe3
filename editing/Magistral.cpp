#include "editing/Magistral.h"

#include "editing/Shiti12.h"
#include "editing/TreeCursors.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

TFormMagistral* FormMagistral = nullptr;

namespace {

// Every panel of the project, walking the switchboards and the panels by their counts.
std::vector<TSitid*> ProjectPanels() {
    std::vector<TSitid*> panels;
    if (!ProjectRoot) return panels;
    for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        for (TSitid* p : chains::PanelsOf(*sw)) panels.push_back(p);
    return panels;
}

}  // namespace

TFormMagistral::TFormMagistral(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    platform::SetItems(*ComboBox1, {});
    platform::OnItemClick(RadioGroup1, this, &TFormMagistral::RadioGroup1Click);
    platform::OnTextChange(ComboBox1, this, &TFormMagistral::ComboBox1Change);
    platform::OnClick(Button1, this, &TFormMagistral::Button1Click);
}

void TFormMagistral::RadioGroup1Click() {
    SameCrossSectionForAll = platform::ItemIndex(*RadioGroup1) == 0;
}

void TFormMagistral::ComboBox1Change() {
    int number = 0;
    if (!platform::TryStrToInt(platform::Text(*ComboBox1), number)) return;
    const TSitid* trunkPanel = nullptr;
    for (const TSitid* p : ProjectPanels())
        if (p->PanelNumber == number && editing::InCascade(*p)) trunkPanel = p;
    if (trunkPanel) {
        // The panel's trunk keeps its option; the user's own stays for a plain panel.
        if (!lockedByTrunk_) usersChoice_ = platform::ItemIndex(*RadioGroup1);
        lockedByTrunk_ = true;
        platform::SetItemIndex(*RadioGroup1, trunkPanel->CascadeFlag ? 0 : 1);
        RadioGroup1Click();
        RadioGroup1->setEnabled(false);
        return;
    }
    // A plain panel starts a trunk of the user's choice: "Кабель" as the user left it.
    if (!lockedByTrunk_) return;
    lockedByTrunk_ = false;
    platform::SetItemIndex(*RadioGroup1, usersChoice_);
    RadioGroup1Click();
    RadioGroup1->setEnabled(true);
}

void TFormMagistral::Button1Click() {
    int number = 0;
    if (platform::ChosenIndex(*ComboBox1) < 0 ||
        !platform::TryStrToInt(platform::Text(*ComboBox1), number)) {
        accept();  // closing without a choice leaves the connection radial
        return;
    }
    TrunkChosen = true;
    UpstreamPanelNo = number;
    RadioGroup1->setEnabled(true);
    if (Shiti && platform::ItemIndex(*RadioGroup1) == 0) {
        for (const TSitid* p : ProjectPanels()) {
            if (p->PanelNumber != number) continue;
            // One cross-section for the whole trunk: the new panel is laid as this one.
            if (platform::ChooseText(*Shiti->ComboBox5, p->FeederLayingMethod))
                Shiti->ComboBox5Change();
            platform::ChooseText(*Shiti->ComboBox3, p->CurrentTableName);
            Shiti->ComboBox3->setEnabled(false);
            Shiti->ComboBox5->setEnabled(false);
        }
    }
    accepted_ = true;
    accept();
}

void TFormMagistral::FormClose() {
    RadioGroup1->setEnabled(true);
    platform::ClearChoice(*ComboBox1);
    // The option stays as it stands, the user's from now on.
    lockedByTrunk_ = false;
}

void TFormMagistral::done(int result) {
    if (!accepted_ && Shiti) platform::SetItemIndex(*Shiti->RadioGroup1, 0);
    accepted_ = false;
    FormClose();
    QDialog::done(result);
}
