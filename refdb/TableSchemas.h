#pragma once
// The structure of the three kinds of reference table: the breaker table "Avtomat.xml", the
// transformer table "tranform.xml" and the cable current tables, one file each. A cable table
// carries its parameters (brand, laying method, core count, kind, material) as the names of its
// five text fields.
#include <string>
#include <vector>

#include "platform/ClientDataSet.h"

namespace refdb {

inline constexpr char kBreakerFile[] = "Avtomat.xml";
inline constexpr char kTransformerFile[] = "tranform.xml";

inline constexpr char kBreakerOrder[] = "Мак. ном. ток А";
inline constexpr char kTransformerOrder[] = "Мощность кВА";

inline constexpr char kCrossSection[] = "Сечение";
inline constexpr char kZeroCrossSection[] = "Сечение 0 жилы";
inline constexpr char kContinuousCurrent[] = "Длительный ток";

// Texts of a cable table's parameters, as the cable table window offers them.
inline constexpr char kInAir[] = "В воздухе";
inline constexpr char kInGround[] = "В земле";
inline constexpr char kTwoInPipe[] = "Два провода в трубе";
inline constexpr char kThreeInPipe[] = "Три провода в трубе";
inline constexpr char kFourInPipe[] = "Четыре провода в трубе";
inline constexpr char kWire[] = "Провод";
inline constexpr char kCable[] = "Кабель";
inline constexpr char kCopper[] = "Медь";
inline constexpr char kAluminium[] = "Алюминий";

// Field and index definitions of an empty table (the dataset must be closed).
void DefineBreakerTable(platform::TClientDataSet& ds);
void DefineTransformerTable(platform::TClientDataSet& ds);

// The fields the program reads by name from each kind of table, with their types: a file that
// lacks one or holds it with another type is damaged (set on the datasets that load the files).
std::vector<platform::TExpectedField> BreakerFieldsRead();
std::vector<platform::TExpectedField> TransformerFieldsRead();
std::vector<platform::TExpectedField> CableTableFieldsRead();

struct CableTableParameters {
    std::string brand;
    std::string layingMethod;
    std::string coreCount;  // "2", "3" or "4"
    std::string kind;       // kWire or kCable
    std::string material;   // kCopper or kAluminium
};

// Four-core cables have a column for the cross-section of their zero conductor.
bool HasZeroConductorField(const CableTableParameters& parameters);

// Field and index definitions of a new, empty cable table, and its order by "Сечение". Throws
// EDatabaseError when a parameter is empty or two parameters are the same text (field names must
// be non-empty and distinct); the definitions are then incomplete.
void DefineCableTable(platform::TClientDataSet& ds, const CableTableParameters& parameters);

// The kinds and core counts that go with a laying method, in the order they are offered.
struct LayingChoice {
    std::string method;
    std::vector<std::string> kinds;
    std::vector<std::string> coreCounts;
};
const std::vector<LayingChoice>& LayingChoices();
const LayingChoice* FindLayingChoice(const std::string& method);

// The name of a cable table's brand field: at position 2 of a 7-field table, 3 of an 8-field one;
// "" for any other definition.
std::string BrandFieldName(const platform::TFieldDefs& defs);

// Refuses a number typed into a reference table that its field cannot hold: a current, a power,
// a percentage or a cross-section is never negative, and the transformer's power and the
// cross-sections, which the program divides by, are never zero. Throws EDatabaseError naming the
// field; other fields and values pass. The check of the three reference windows' datasets.
void CheckTableValue(const platform::TFieldDef& field, double value);

// The breaker and transformer files, which are no cable tables (names compared exactly).
bool IsBaseTableFile(const std::string& fileName);

// "" when the text can name a new cable table (its file is the name plus ".xml"); otherwise the
// message that refuses it.
std::string TableNameProblem(const std::string& name);

}  // namespace refdb
