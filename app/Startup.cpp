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
#include "selection/PowerSystem.h"

void CreateAllWindows() {
    // The order is fixed: the main window first, so that it is the application's main window.
    Form1 = new TForm1;
    AboutBox = new TAboutBox;
    BazaAvt = new TBazaAvt;
    BazaT = new TBazaT;
    BazaTran = new TBazaTran;
    Dan1 = new TDan1;
    Form2 = new TForm2;
    Form3 = new TForm3;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    InsertAvtomat = new TInsertAvtomat;
    NotSimmetr_2F = new TNotSimmetr_2F;
    NotSimmetr_3F = new TNotSimmetr_3F;
    Shiti = new TShiti;
    FormMagistral = new TFormMagistral;
    DialogForm = new TDialogForm;
    PowerSystem = new TPowerSystem;
    AdjustmentProjectForm = new TAdjustmentProjectForm;
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
