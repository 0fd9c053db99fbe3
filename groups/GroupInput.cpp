// The input checks of a group line: the window's entries, the reference tables the new line
// needs and the uniqueness of its names, in their fixed order.
#include <algorithm>

#include "app/ProjectFile.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"

namespace {

constexpr char kLowerCaption[] = "предупреждение.";
constexpr char kCaption[] = "Предупреждение.";

void Warn(const std::string& text, const std::string& caption) {
    platform::MessageBox(text, caption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

void Note(const std::string& text) {
    platform::MessageBox(text, "", platform::MsgButtons::Ok, platform::MsgIcon::None);
}

bool Ask(const std::string& text) {
    return platform::MessageBox(text, kLowerCaption, platform::MsgButtons::YesNo,
                                platform::MsgIcon::Warning) == platform::mrYes;
}

bool Listed(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Whether the breaker base holds a breaker with one of these pole counts: a full pass over it.
bool BaseHoldsPoles(platform::TClientDataSet& base, std::initializer_list<int> poles) {
    bool found = false;
    base.First();
    while (!base.Eof()) {
        const int count = base.FieldByName("Число полюсов").AsInteger();
        if (std::find(poles.begin(), poles.end(), count) != poles.end()) found = true;
        base.Next();
    }
    return found;
}

}  // namespace

bool TDan1::ValidateInput() {
    TGrsed* root = ProjectRoot;
    if (!root || !root->CurrentSwitchboard() || !root->CurrentPanel()) return true;
    const Cursors start = CurrentCursors();

    if (ComboBox2->currentIndex() < 0) {
        Warn("Введите номер щита.", kLowerCaption);
        return true;
    }
    double cosPhi = 0;
    if (!platform::TryStrToFloat(platform::Text(*Edit1), cosPhi)) {
        Warn("Введите число.", kLowerCaption);
        Edit1->setText("1");
        return true;
    }
    if (cosPhi > 1 || cosPhi <= 0) {
        Warn("Коэффициент мощности не может быть больше 1 или меньше или равно 0.", kLowerCaption);
        Edit1->setText("1");
        return true;
    }
    // The route length is a whole number of metres above 0: no line is shorter.
    int length = 0;
    if (!platform::TryStrToInt(platform::Text(*Edit4), length) || length <= 0) {
        Warn("Введите длину трассы.", kCaption);
        return true;
    }
    int temperature = 0;
    if (!platform::TryStrToInt(platform::Text(*Edit5), temperature)) {
        Warn("Введите температуру среды.", kCaption);
        return true;
    }
    if (temperature < -5 || temperature > 50) {
        Warn("Интервал температуры <от -5 до 50>.", kCaption);
        return true;
    }
    // An unbalanced load's power is the sum of the per-phase entries of the dialog of the
    // conductor count, checked again as its "Ok" checks them (the count may have changed since,
    // and that dialog never been confirmed).
    if (RadioButton2->isChecked()) {
        const std::string conductors = platform::Text(*ComboBox1);
        if (conductors == "3" && NotSimmetr_2F && !NotSimmetr_2F->AcceptEntries()) return true;
        if (conductors == "4" && NotSimmetr_3F && !NotSimmetr_3F->AcceptEntries()) return true;
    }
    double power = 0;
    if (!platform::TryStrToFloat(platform::Text(*Edit2), power) || power == 0) {
        Note("Введите мощность.");
        return true;
    }
    if (power < 0) {
        Note("Мощность должна быть больше нуля.");
        return true;
    }
    if (ComboBox3->currentIndex() < 0 || ComboBox4->currentIndex() < 0) {
        Warn("Нет таблиц.", kCaption);
        return true;
    }
    const std::string groupName = platform::Text(*Edit6);
    if (groupName.empty()) {
        Warn("Введите название группы.", kLowerCaption);
        return true;
    }
    // Names are kept in the project file: in Windows-1251, within its slot.
    if (const std::string problem = projectfile::EntryTextProblem(groupName, "Название группы");
        !problem.empty()) {
        Warn(problem, kCaption);
        return true;
    }

    // The reference tables: the chosen cable table (it stays open for the records), the
    // transformers and the breakers must hold data. The window closes whatever the answer.
    if (!OpenCurrentTable(platform::Text(*ComboBox4))) return true;  // the loader said why
    if (BazaT && BazaT->ClientDataSet1.IsEmpty()) {
        const bool open =
            Ask("В базе данных <Допустимые длительные токи> нет данных.Открыть базу данных?");
        CloseQuietly();
        if (open) platform::ShowModal(*BazaT);
        return true;
    }
    if (BazaTran && BazaTran->ClientDataSet2.IsEmpty()) {
        const bool open = Ask("В базе данных <Трансформаторы> нет данных.Открыть базу данных?");
        CloseQuietly();
        if (open) platform::ShowModal(*BazaTran);
        return true;
    }
    if (BazaAvt && BazaAvt->AVT1.IsEmpty()) {
        const bool open = Ask("В базе данных <Автоматы> нет данных.Открыть базу данных?");
        CloseQuietly();
        if (open) platform::ShowModal(*BazaAvt);
        return true;
    }
    // The conductor count decides the breakers asked for below.
    if (ComboBox1->currentIndex() < 0) {
        Warn("Введите количество жил.", kCaption);
        return true;
    }
    if (BazaAvt) {
        platform::TClientDataSet& base = BazaAvt->AVT1;
        base.SetActive(true);
        // A breaker of the line's own pole count, and one of 3 or 4 poles for the panel.
        const char* missing = nullptr;
        if (ComboBox1->currentIndex() == 0 && !BaseHoldsPoles(base, {1}))
            missing = "В базе данных <Автоматы> нет однополюсных автоматов.Открыть базу данных?";
        else if (ComboBox1->currentIndex() == 1 && !BaseHoldsPoles(base, {2}))
            missing = "В базе данных <Автоматы> нет двухполюсных автоматов.Открыть базу данных?";
        else if (!BaseHoldsPoles(base, {3, 4}))
            missing = "В базе данных <Автоматы> нет трехполюсных автоматов.Открыть базу данных?";
        if (missing) {
            if (Ask(missing)) {
                CloseQuietly();
                platform::ShowModal(*BazaAvt);
            }
            return true;
        }
    }

    platform::MakeProgramFolderCurrent();
    FailureFlag = 0;
    if (Listed(GroupNames, groupName)) {
        Note("Группа с таким именим существует. Измените название группы.");
        return true;
    }
    const std::string cableName = platform::Text(*Edit7);
    if (cableName.empty()) {
        Note("Введите название кабеля или провода.");
        return true;
    }
    if (const std::string problem =
            projectfile::EntryTextProblem(cableName, "Название кабеля или провода");
        !problem.empty()) {
        Warn(problem, kCaption);
        return true;
    }
    if (Shiti && Listed(Shiti->CableNames, cableName)) {
        Note("Название кабеля или провода с таким именим существует. Измените название.");
        return true;
    }
    SetCursors(start);
    return false;
}
