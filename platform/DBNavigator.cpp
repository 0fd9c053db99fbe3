#include "platform/DBNavigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "platform/ClientDataSet.h"
#include "platform/DBGrid.h"

namespace platform {
namespace {

struct ButtonLook {
    const char* name;
    const char* glyph;
    const char* hint;
};

constexpr ButtonLook kLooks[TDBNavigator::ButtonCount] = {
    {"First", "|◀", "Первая запись"},           {"Prior", "◀", "Предыдущая запись"},
    {"Next", "▶", "Следующая запись"},          {"Last", "▶|", "Последняя запись"},
    {"Insert", "+", "Вставить новую запись"},   {"Delete", "−", "Удалить запись"},
    {"Edit", "▲", "Редактировать запись"},      {"Post", "✓", "Занести в базу запись"},
    {"Cancel", "✕", "Отменить редактирование"},
};

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromUtf8(kLooks[i].name));
        button->setText(QString::fromUtf8(kLooks[i].glyph));
        button->setToolTip(QString::fromUtf8(kLooks[i].hint));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setMinimumWidth(24);
        const auto which = static_cast<TNavigateBtn>(i);
        connect(button, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
        layout->addWidget(button);
        buttons_[static_cast<size_t>(i)] = button;
    }
    UpdateButtons();
}

void TDBNavigator::SetDataSet(TClientDataSet* dataSet) {
    dataSet_ = dataSet;
    UpdateButtons();
}

void TDBNavigator::SetGrid(TDBGrid* grid) {
    grid_ = grid;
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    if (grid_ != nullptr) {
        if (button == nbCancel) {
            grid_->DiscardEditing();
        } else if (!grid_->FinishEditing()) {
            UpdateButtons();
            return;
        }
    }
    const bool done = RunGuarded([&] {
        emit BeforeAction(button);
        DoAction(button);
    });
    UpdateButtons();
    emit DataChanged();
    if (done) emit Click(button);
}

void TDBNavigator::DoAction(TNavigateBtn button) {
    if (dataSet_ == nullptr || !dataSet_->Active()) return;
    TClientDataSet& ds = *dataSet_;
    switch (button) {
        case nbFirst:
            ds.First();
            break;
        case nbPrior:
            ds.Prior();
            break;
        case nbNext:
            ds.Next();
            break;
        case nbLast:
            ds.Last();
            break;
        case nbInsert:
            ds.Insert();
            break;
        case nbDelete:
            if (ds.State() != dsInsert && ds.IsEmpty()) return;
            if (confirmDelete_ && MessageBox("Удалить запись?", "Подтверждение.", MsgButtons::YesNo,
                                             MsgIcon::Question) != mrYes)
                return;
            ds.Delete();
            break;
        case nbEdit:
            ds.Edit();
            break;
        case nbPost:
            ds.Post();
            break;
        case nbCancel:
            ds.Cancel();
            break;
    }
}

void TDBNavigator::UpdateButtons() {
    const bool active = dataSet_ != nullptr && dataSet_->Active();
    const TDataSetState state = active ? dataSet_->State() : dsInactive;
    const bool editing = state == dsEdit || state == dsInsert;
    const bool browsing = state == dsBrowse;
    const int recNo = active ? dataSet_->RecNo() : 0;
    const int count = active ? dataSet_->RecordCount() : 0;
    // Moving while a row is pending posts it, as the dataset does.
    const bool canBack = editing ? count > 0 : recNo > 1;
    const bool canForward = editing ? count > 0 : recNo > 0 && recNo < count;
    buttons_[nbFirst]->setEnabled(active && canBack);
    buttons_[nbPrior]->setEnabled(active && canBack);
    buttons_[nbNext]->setEnabled(active && canForward);
    buttons_[nbLast]->setEnabled(active && canForward);
    buttons_[nbInsert]->setEnabled(browsing);
    buttons_[nbDelete]->setEnabled(state == dsInsert || (active && count > 0));
    buttons_[nbEdit]->setEnabled(browsing && count > 0);
    buttons_[nbPost]->setEnabled(editing);
    buttons_[nbCancel]->setEnabled(editing);
}

void LinkDataControls(TDBGrid* grid, TDBNavigator* navigator) {
    navigator->SetGrid(grid);
    QObject::connect(navigator, &TDBNavigator::DataChanged, grid, &TDBGrid::Refresh);
    QObject::connect(grid, &TDBGrid::DataChanged, navigator, &TDBNavigator::UpdateButtons);
    QObject::connect(grid, &TDBGrid::Refreshed, navigator, &TDBNavigator::UpdateButtons);
}

}  // namespace platform
