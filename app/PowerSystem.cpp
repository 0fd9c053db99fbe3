#include "app/PowerSystem.h"

#include <QFileInfo>
#include <QLineEdit>
#include <exception>

#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Help.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"
#include "selection/CheckSupport.h"

TPowerSystem* PowerSystem = nullptr;

namespace {

// Puts the project's short-circuit power and transformer back on every path.
class SupplyKeeper {
public:
    explicit SupplyKeeper(TGrsed& root)
        : root_(root), power_(root.SupplyScPower), transformer_(root.TransformerName) {}
    ~SupplyKeeper() {
        root_.SupplyScPower = power_;
        root_.TransformerName = transformer_;
    }
    SupplyKeeper(const SupplyKeeper&) = delete;
    SupplyKeeper& operator=(const SupplyKeeper&) = delete;

private:
    TGrsed& root_;
    double power_;
    std::string transformer_;
};

}  // namespace

TPowerSystem::TPowerSystem(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without border icons, at a fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(496, 212);
    platform::OnClick(Button1, this, &TPowerSystem::Button1Click);
    platform::OnClick(Button2, this, &TPowerSystem::Button2Click);
    platform::OnClick(BitBtn1, this, &TPowerSystem::BitBtn1Click);
    // A transformer the user picks or types is taken on "Применить" only; filling the list or
    // setting its index from code chooses nothing.
    QObject::connect(ComboBox5, &QComboBox::activated, this, [this] { transformerChosen_ = true; });
    QObject::connect(ComboBox5->lineEdit(), &QLineEdit::textEdited, this,
                     [this] { transformerChosen_ = true; });
}

void TPowerSystem::Button1Click() {
    double power = 0;
    if (!platform::TryStrToFloat(platform::Text(*Edit1), power) || !(power > 0.0)) {
        platform::MessageBox("Введите мощность КЗ внешней энергосистемы.", "Предупреждение.",
                             platform::MsgButtons::Ok, platform::MsgIcon::Warning);
        return;
    }
    bool passed = true;
    if (ProjectRoot && Dan1) {
        SupplyKeeper keep(*ProjectRoot);
        ProjectRoot->SupplyScPower = power;
        if (transformerChosen_) ComboBox5Change();
        passed = Dan1->CheckSystemShortCircuitPower();
    }
    if (!passed) return;
    const std::string previous = ProjectRoot ? ProjectRoot->TransformerName : std::string();
    const double previousPower = ProjectRoot ? ProjectRoot->SupplyScPower : power;
    if (transformerChosen_) {
        ComboBox5Change();
        ShowProjectTransformer();
        transformerChosen_ = false;
    }
    ShortCircuitPowerMva = power;
    // Another transformer or system power changes the fault currents, losses and deviations of
    // the whole project: they are selected again as after any change, and the project is
    // changed.
    if (ProjectRoot && (ProjectRoot->TransformerName != previous || power != previousPower)) {
        ProjectRoot->SupplyScPower = power;
        if (Dan1) Dan1->RefreshProject();
        if (Form1) {
            Form1->ProjectSaved = 0;
            Form1->ToolButton4->setEnabled(true);
        }
    }
    done(platform::mrOk);
}

void TPowerSystem::Button2Click() {
    if (Form3) {
        Form3->SavedGroup.reset();
        Form3->SavedPhaseRecords.Single.reset();
        Form3->SavedPhaseRecords.Two.reset();
        Form3->SavedPhaseRecords.Three.reset();
        Form3->PanelCopies.clear();
        Form3->GroupEditMode = 0;
    }
    if (transformerChosen_) {
        ShowProjectTransformer();
        transformerChosen_ = false;
    }
    Cancelled = true;
    done(platform::mrCancel);
}

void TPowerSystem::ComboBox5Change() {
    if (!BazaTran || !ProjectRoot) return;
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    const std::string name = platform::Text(*ComboBox5);
    try {
        if (!ds.Active()) return;
        ds.SetIndexFieldNames(refdb::kTransformerOrder);
        ds.First();
        // The base ends the search; the base stays on the row found.
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            if (ds.FieldByName("Трансформатор").AsString() == name) {
                ProjectRoot->TransformerName = name;
                return;
            }
            ds.Next();
        }
    } catch (const std::exception&) {
        // A base without the transformer field names no transformer.
    }
}

void TPowerSystem::ShowProjectTransformer() {
    if (!ProjectRoot) return;
    const int own = ComboBox5->findText(platform::Q(ProjectRoot->TransformerName),
                                        Qt::MatchFixedString | Qt::MatchCaseSensitive);
    const int shown = own >= 0 ? own : (ComboBox5->count() > 0 ? 0 : -1);
    ComboBox5->setCurrentIndex(shown);
    // A typed text stays in the edit box when the index does not change.
    ComboBox5->setEditText(shown >= 0 ? ComboBox5->itemText(shown) : QString());
}

void TPowerSystem::ListTransformers() {
    if (!QFileInfo::exists(platform::Q(platform::ProgramFolder() + refdb::kTransformerFile)))
        return;
    selection::ReloadTransformerBase();
    ComboBox5->clear();
    for (const selection::TransformerRow& row : selection::TransformerRows())
        ComboBox5->addItem(platform::Q(row.name));
    ShowProjectTransformer();
}

void TPowerSystem::BitBtn1Click() {
    platform::ShowHelpContext(BitBtn1->property("HelpContext").toInt());
}

void TPowerSystem::reject() {
    Button2Click();
}
