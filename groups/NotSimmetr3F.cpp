#include "groups/NotSimmetr3F.h"

#include "groups/UnbalancedLoad.h"
#include "platform/Events.h"
#include "platform/Messages.h"

TNotSimmetr_3F* NotSimmetr_3F = nullptr;

TNotSimmetr_3F::TNotSimmetr_3F(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons, at a fixed size; above the group line window, which stays
    // on top of the others.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(262, 176);
    Button1->setAutoDefault(false);
    platform::OnClick(Button1, this, &TNotSimmetr_3F::Button1Click);
}

void TNotSimmetr_3F::Button1Click() {
    if (AcceptEntries()) done(platform::mrOk);
}

bool TNotSimmetr_3F::AcceptEntries() {
    return AcceptUnbalancedLoad({Edit1, Edit2, Edit3}, {Edit4, Edit5, Edit6});
}

void TNotSimmetr_3F::reject() {}
