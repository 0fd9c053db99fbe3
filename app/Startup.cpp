#include "app/Startup.h"

#include "app/About.h"
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/AdjustmentProject.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/Magistral.h"
#include "editing/NumberChooser.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "app/PowerSystem.h"

namespace {

std::vector<std::string> creationOrder;

template <typename Window>
Window* Create() {
    Window* window = new Window;
    creationOrder.push_back(window->metaObject()->className());
    return window;
}

}  // namespace

const std::vector<std::string>& WindowCreationOrder() {
    return creationOrder;
}

void CreateAllWindows() {
    creationOrder.clear();
    // The order is fixed: the main window first, so that it is the application's main window.
    Form1 = Create<TForm1>();
    AboutBox = Create<TAboutBox>();
    BazaAvt = Create<TBazaAvt>();
    BazaT = Create<TBazaT>();
    BazaTran = Create<TBazaTran>();
    Dan1 = Create<TDan1>();
    Form2 = Create<TForm2>();
    Form3 = Create<TForm3>();
    Form4 = Create<TForm4>();
    Form5 = Create<TForm5>();
    Form7 = Create<TForm7>();
    Form8 = Create<TForm8>();
    Form9 = Create<TForm9>();
    InsertAvtomat = Create<TInsertAvtomat>();
    NotSimmetr_2F = Create<TNotSimmetr_2F>();
    NotSimmetr_3F = Create<TNotSimmetr_3F>();
    Shiti = Create<TShiti>();
    FormMagistral = Create<TFormMagistral>();
    DialogForm = Create<TDialogForm>();
    PowerSystem = Create<TPowerSystem>();
    AdjustmentProjectForm = Create<TAdjustmentProjectForm>();
}

void DestroyAllWindows() {
    delete AdjustmentProjectForm;
    AdjustmentProjectForm = nullptr;
    delete PowerSystem;
    PowerSystem = nullptr;
    delete DialogForm;
    DialogForm = nullptr;
    delete FormMagistral;
    FormMagistral = nullptr;
    delete Shiti;
    Shiti = nullptr;
    delete NotSimmetr_3F;
    NotSimmetr_3F = nullptr;
    delete NotSimmetr_2F;
    NotSimmetr_2F = nullptr;
    delete InsertAvtomat;
    InsertAvtomat = nullptr;
    delete Form9;
    Form9 = nullptr;
    delete Form8;
    Form8 = nullptr;
    delete Form7;
    Form7 = nullptr;
    delete Form5;
    Form5 = nullptr;
    delete Form4;
    Form4 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Dan1;
    Dan1 = nullptr;
    delete BazaTran;
    BazaTran = nullptr;
    delete BazaT;
    BazaT = nullptr;
    delete BazaAvt;
    BazaAvt = nullptr;
    delete AboutBox;
    AboutBox = nullptr;
    delete Form1;
    Form1 = nullptr;
}
