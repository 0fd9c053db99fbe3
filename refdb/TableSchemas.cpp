#include "refdb/TableSchemas.h"

#include <string_view>

#include "platform/Cp1251.h"

namespace refdb {

using platform::ftFloat;
using platform::ftInteger;
using platform::ftString;

namespace {

constexpr char kBreakerSeries[] = "Серии";
constexpr char kBreakerMinCurrent[] = "Мин. ном. ток. А";
constexpr char kBreakerPoles[] = "Число полюсов";
constexpr char kBreakerMultiplicity[] = "Кратность тока при КЗ";
constexpr char kTransformerName[] = "Трансформатор";
constexpr char kTransformerScLosses[] = "Потери к.з. Вт";
constexpr char kTransformerScVoltage[] = "Напряжение к.з. %";
constexpr char kTransformerNoLoadLosses[] = "Потери холостого хода Вт";
constexpr char kTransformerNoLoadCurrent[] = "Ток холостого хода %";

// The numbers of the tables that the program computes with, and the least each may be.
enum class Least { Zero, AboveZero };
struct ValueRule {
    std::string_view field;
    Least least;
};
// Currents, powers and percentages are never negative; the transformer's power and the
// cross-sections are divided by, so they are never zero either.
constexpr ValueRule kValueRules[] = {
    {kBreakerMinCurrent, Least::Zero},       {kBreakerOrder, Least::Zero},
    {kBreakerMultiplicity, Least::Zero},     {kTransformerOrder, Least::AboveZero},
    {kTransformerNoLoadLosses, Least::Zero}, {kTransformerScLosses, Least::Zero},
    {kTransformerScVoltage, Least::Zero},    {kTransformerNoLoadCurrent, Least::Zero},
    {kCrossSection, Least::AboveZero},       {kZeroCrossSection, Least::AboveZero},
    {kContinuousCurrent, Least::Zero},
};

}  // namespace

void DefineBreakerTable(platform::TClientDataSet& ds) {
    ds.FieldDefs().Clear();
    ds.FieldDefs().Add(kBreakerSeries, ftString, 20, false);
    ds.FieldDefs().Add(kBreakerMinCurrent, ftFloat, 0, false);
    ds.FieldDefs().Add(kBreakerOrder, ftFloat, 0, false);
    ds.FieldDefs().Add(kBreakerPoles, ftInteger, 0, false);
    ds.FieldDefs().Add("Ном. ток расцепителя.А", ftString, 20, false);
    ds.FieldDefs().Add(kBreakerMultiplicity, ftFloat, 0, false);
    ds.IndexDefs().Clear();
}

void DefineTransformerTable(platform::TClientDataSet& ds) {
    ds.FieldDefs().Clear();
    ds.FieldDefs().Add(kTransformerName, ftString, 20, false);
    ds.FieldDefs().Add(kTransformerOrder, ftFloat, 0, false);
    ds.FieldDefs().Add("Напряжение высщее КВ", ftFloat, 0, false);
    ds.FieldDefs().Add("Напряжение низщее КВ", ftFloat, 0, false);
    ds.FieldDefs().Add(kTransformerNoLoadLosses, ftFloat, 0, false);
    ds.FieldDefs().Add(kTransformerScLosses, ftFloat, 0, false);
    ds.FieldDefs().Add(kTransformerScVoltage, ftFloat, 0, false);
    ds.FieldDefs().Add(kTransformerNoLoadCurrent, ftFloat, 0, false);
    ds.IndexDefs().Clear();
    ds.IndexDefs().Add("01", "", platform::ixUnique);
    ds.IndexDefs().Add("02", kTransformerOrder, platform::ixUnique | platform::ixDescending);
}

std::vector<platform::TExpectedField> BreakerFieldsRead() {
    return {{kBreakerSeries, ftString},
            {kBreakerMinCurrent, ftFloat},
            {kBreakerOrder, ftFloat},
            {kBreakerPoles, ftInteger},
            {kBreakerMultiplicity, ftFloat}};
}

std::vector<platform::TExpectedField> TransformerFieldsRead() {
    return {{kTransformerName, ftString},
            {kTransformerOrder, ftFloat},
            {kTransformerScVoltage, ftFloat},
            {kTransformerScLosses, ftFloat}};
}

std::vector<platform::TExpectedField> CableTableFieldsRead() {
    // Only four-core cable tables have the zero-conductor column.
    return {{kCrossSection, ftFloat},
            {kZeroCrossSection, ftFloat, true},
            {kContinuousCurrent, ftFloat}};
}

bool HasZeroConductorField(const CableTableParameters& parameters) {
    return parameters.kind == kCable && parameters.coreCount == "4";
}

void DefineCableTable(platform::TClientDataSet& ds, const CableTableParameters& parameters) {
    ds.FieldDefs().Clear();
    ds.FieldDefs().Add(kCrossSection, ftFloat, 0, true);
    if (HasZeroConductorField(parameters)) ds.FieldDefs().Add(kZeroCrossSection, ftFloat, 0, true);
    ds.FieldDefs().Add(kContinuousCurrent, ftFloat, 0, true);
    // The parameters are the names of these fields; their values are never used.
    ds.FieldDefs().Add(parameters.brand, ftString, 10, false);
    ds.FieldDefs().Add(parameters.layingMethod, ftString, 10, false);
    ds.FieldDefs().Add(parameters.coreCount, ftString, 10, false);
    ds.FieldDefs().Add(parameters.kind, ftString, 10, false);
    ds.FieldDefs().Add(parameters.material, ftString, 10, false);
    ds.IndexDefs().Clear();
    ds.IndexDefs().Add("", kCrossSection, platform::ixUnique | platform::ixDescending);
    ds.SetIndexFieldNames(kCrossSection);
}

const std::vector<LayingChoice>& LayingChoices() {
    static const std::vector<LayingChoice> choices = {
        {kInAir, {kWire, kCable}, {"2", "3", "4"}},
        {kInGround, {kCable}, {"2", "3", "4"}},
        {kTwoInPipe, {kWire}, {"2"}},
        {kThreeInPipe, {kWire}, {"3"}},
        {kFourInPipe, {kWire}, {"4"}},
    };
    return choices;
}

const LayingChoice* FindLayingChoice(const std::string& method) {
    for (const LayingChoice& choice : LayingChoices())
        if (choice.method == method) return &choice;
    return nullptr;
}

std::string BrandFieldName(const platform::TFieldDefs& defs) {
    if (defs.Count() == 7) return defs[2].Name();
    if (defs.Count() == 8) return defs[3].Name();
    return std::string();
}

bool IsBaseTableFile(const std::string& fileName) {
    return fileName == kBreakerFile || fileName == kTransformerFile;
}

std::string TableNameProblem(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos) return "Введите название таблицы.";
    // The name becomes a file name, here or on a Windows machine the table is copied to.
    bool unfit = name == "." || name == ".." || name.front() == ' ' || name.back() == ' ' ||
                 name.back() == '.';
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            unfit = true;
    if (unfit)
        return "Название таблицы не может содержать символы \\ / : * ? \" < > |, начинаться или "
               "кончаться пробелом, кончаться точкой, быть \".\" или \"..\".";
    // Projects keep the table name in Windows-1251.
    if (!platform::HasCp1251Form(name))
        return "Название таблицы содержит символы, которые нельзя сохранить в файле проекта.";
    return std::string();
}

void CheckTableValue(const platform::TFieldDef& field, double value) {
    for (const ValueRule& rule : kValueRules) {
        if (field.Name() != rule.field) continue;
        if (rule.least == Least::AboveZero && !(value > 0))
            throw platform::EDatabaseError("Введите в поле '" + field.Name() +
                                           "' число больше нуля.");
        if (rule.least == Least::Zero && !(value >= 0))
            throw platform::EDatabaseError("Введите в поле '" + field.Name() +
                                           "' число не меньше нуля.");
        return;
    }
}

}  // namespace refdb
