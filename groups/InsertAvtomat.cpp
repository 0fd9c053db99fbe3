#include "groups/InsertAvtomat.h"

#include "model/Classd.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "selection/SelectionSupport.h"

TInsertAvtomat* InsertAvtomat = nullptr;

TInsertAvtomat::TInsertAvtomat(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons, at a fixed size: nothing to enlarge, so that a window
    // manager offers no maximise either.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(186, 176);
    platform::OnClick(Button2, this, &TInsertAvtomat::Button2Click);
}

void TInsertAvtomat::Button2Click() {
    if (ComboBox1->count() == 0) {
        done(platform::mrCancel);
        return;
    }
    // A typed text that was not picked from the list counts as no choice.
    const int chosen = ComboBox1->currentIndex();
    if (chosen < 0 || ComboBox1->currentText() != ComboBox1->itemText(chosen)) {
        platform::MessageBox("Установите автомат.", "Предупреждение.", platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
        return;
    }
    StoreSeries(ComboBox1->itemText(chosen).toStdString());
    done(platform::mrOk);
}

void TInsertAvtomat::reject() {}

void TInsertAvtomat::StoreSeries(const std::string& series) {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    TGrsed* sw = root->CurrentSwitchboard();
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    const std::string target = GroupBox1->title().toStdString();
    if (target == "Группы" && panel && panel->SchemeGroups.Cursor)
        panel->SchemeGroups.Cursor->BreakerType = series;
    if (target == "Щит" && panel) panel->PanelBreakerType = series;
    // Only a panel of a cascade has a trunk breaker: its head's.
    if (target == "Магистральный автомат" && panel &&
        (panel->FedFromPanel || panel->FedFromSwitchboard)) {
        if (TSitid* head = selection::CascadeHeadOf(*sw, panel)) head->TrunkBreakerType = series;
    }
    if (target == "Грщ" && sw) sw->SwitchboardBreakerType = series;
    if (target == "Секция КТП") root->SectionBreakerType = series;
}
