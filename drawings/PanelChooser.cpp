#include "drawings/PanelChooser.h"

#include "app/Mainform.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons, at a fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    platform::OnClick(Button1, this, &TForm5::Button1Click);
}

void TForm5::Button1Click() {
    int number = 0;
    if (ComboBox1->currentIndex() < 0 ||
        !platform::TryStrToInt(ComboBox1->currentText().toStdString(), number)) {
        close();
        return;
    }
    PanelNumber = number;
    if (Form1->PanelPictureMode == 0) {
        Form1->DrawPanelPhasing(PanelNumber);
        close();
        Form1->DocumentKind = SchemePictureDocument;
        return;
    }
    // The first panel with the number, in switchboard order, is made current and drawn.
    if (ProjectRoot != nullptr) {
        for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
            TSitid* found = nullptr;
            for (TSitid* panel : chains::PanelsOf(*sw)) {
                if (panel->PanelNumber == PanelNumber) {
                    found = panel;
                    break;
                }
            }
            if (found == nullptr) continue;
            ProjectRoot->Switchboards.Cursor = sw;
            sw->Panels.Cursor = found;
            Form1->DrawPanelScheme(found->SchemeGroupCount);
            break;
        }
    }
    close();
    Form1->DocumentKind = SchemePictureDocument;
}
