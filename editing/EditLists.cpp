#include "editing/EditLists.h"

#include <QAction>
#include <QEvent>
#include <string>
#include <vector>

#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

namespace editing {

namespace {

// Follows the editors' windows as they show and hide.
class EditorWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) UpdateEditCommands();
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void WatchEditors(QWidget& shiti) {
    auto* watch = new EditorWatch(&shiti);
    shiti.installEventFilter(watch);
    if (Dan1) Dan1->installEventFilter(watch);
}

void RefillNameLists() {
    if (Dan1) Dan1->ListNamesFromTree();
}

void RefillGroupEntryLists() {
    RefillNameLists();
    if (!Dan1 || !ProjectRoot) return;
    QComboBox& list = *Dan1->ComboBox2;
    list.clear();
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        for (const TSitid* panel : chains::PanelsOf(*sw))
            list.addItem(platform::Q(platform::IntToStr(panel->PanelNumber)));
    list.setCurrentIndex(list.count() - 1);
    if (list.count() == 0) list.setEditText(QString());
}

void RefillSwitchboardList() {
    if (!Shiti || !ProjectRoot) return;
    Shiti->ComboBox2->clear();
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        Shiti->ComboBox2->addItem(platform::Q(platform::IntToStr(sw->SwitchboardNumber)));
    Shiti->ComboBox2->setCurrentIndex(-1);
    Shiti->SwitchboardCounter = ProjectRoot->SwitchboardCount;
}

void UpdateEditCommands() {
    if (!Form1) return;
    const bool free = !TForm3::EditorOpen();
    for (QAction* command :
         {Form1->N21, Form1->N11, Form1->N30, Form1->N4, Form1->N25, Form1->ToolButton15,
          Form1->ToolButton17, Form1->ToolButton32, Form1->ToolButton35, Form1->ToolButton37})
        command->setEnabled(free);
}

}  // namespace editing
