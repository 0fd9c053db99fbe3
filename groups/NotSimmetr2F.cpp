#include "groups/NotSimmetr2F.h"

#include "groups/UnbalancedLoad.h"
#include "platform/Events.h"
#include "platform/Messages.h"

TNotSimmetr_2F* NotSimmetr_2F = nullptr;

TNotSimmetr_2F::TNotSimmetr_2F(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons, at a fixed size; above the group line window, which stays
    // on top of the others.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(188, 184);
    Button1->setAutoDefault(false);
    platform::OnClick(Button1, this, &TNotSimmetr_2F::Button1Click);
}

void TNotSimmetr_2F::Button1Click() {
    if (AcceptEntries()) done(platform::mrOk);
}

bool TNotSimmetr_2F::AcceptEntries() {
    return AcceptUnbalancedLoad({Edit1, Edit2}, {Edit3, Edit4});
}

void TNotSimmetr_2F::reject() {}
