// Whole projects recalculated and held against values worked by hand. Each case is a folder in
// cases/: project.txt builds the project and says what to run, expected.txt lists the values
// (node, field, value, tolerance); both explain themselves in their comments.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "CalcSupport.h"
#include "calc/Recalculation.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCasesFolder = fs::path(TEST_SOURCE_DIR) / "calc" / "cases";

double ParseNumber(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error("not a number: " + text);
    return value;
}

// The calculated fields a case can name, by their names in the records.
using PanelField = std::function<long double(const TSitid&)>;
using SwitchboardField = std::function<long double(const TGrsed&)>;

#define PANEL_FIELD(name)                                                       \
    {                                                                           \
#name, [](const TSitid& p) { return static_cast<long double>(p.name); } \
    }
#define SWITCHBOARD_FIELD(name)                                                 \
    {                                                                           \
#name, [](const TGrsed& s) { return static_cast<long double>(s.name); } \
    }

const std::map<std::string, PanelField>& PanelFields() {
    static const std::map<std::string, PanelField> fields = {
        PANEL_FIELD(RowsOfThree),          PANEL_FIELD(SinglePhasePowerA),
        PANEL_FIELD(SinglePhasePowerB),    PANEL_FIELD(SinglePhasePowerC),
        PANEL_FIELD(TwoPhasePowerA),       PANEL_FIELD(TwoPhasePowerB),
        PANEL_FIELD(TwoPhasePowerC),       PANEL_FIELD(ThreePhasePowerA),
        PANEL_FIELD(ThreePhasePowerB),     PANEL_FIELD(ThreePhasePowerC),
        PANEL_FIELD(PanelPowerA),          PANEL_FIELD(PanelPowerB),
        PANEL_FIELD(PanelPowerC),          PANEL_FIELD(InstalledPower),
        PANEL_FIELD(DesignPower),          PANEL_FIELD(PanelCosPhiA),
        PANEL_FIELD(PanelCosPhiB),         PANEL_FIELD(PanelCosPhiC),
        PANEL_FIELD(PanelCosPhi),          PANEL_FIELD(OwnCurrentA),
        PANEL_FIELD(OwnCurrentB),          PANEL_FIELD(OwnCurrentC),
        PANEL_FIELD(OwnNeutralCurrent),    PANEL_FIELD(OwnDesignCurrent),
        PANEL_FIELD(CascadePowerA),        PANEL_FIELD(CascadePowerB),
        PANEL_FIELD(CascadePowerC),        PANEL_FIELD(CascadePower),
        PANEL_FIELD(CascadeCosPhiA),       PANEL_FIELD(CascadeCosPhiB),
        PANEL_FIELD(CascadeCosPhiC),       PANEL_FIELD(CascadeCosPhi),
        PANEL_FIELD(CascadeCurrentA),      PANEL_FIELD(CascadeCurrentB),
        PANEL_FIELD(CascadeCurrentC),      PANEL_FIELD(CascadeNeutralCurrent),
        PANEL_FIELD(CascadeDesignCurrent), PANEL_FIELD(TotalPowerA),
        PANEL_FIELD(TotalPowerB),          PANEL_FIELD(TotalPowerC),
        PANEL_FIELD(FeederCurrentA),       PANEL_FIELD(FeederCurrentB),
        PANEL_FIELD(FeederCurrentC),       PANEL_FIELD(FeederNeutralCurrent),
    };
    return fields;
}

const std::map<std::string, SwitchboardField>& SwitchboardFields() {
    static const std::map<std::string, SwitchboardField> fields = {
        SWITCHBOARD_FIELD(SwitchboardInstalledPower),
        SWITCHBOARD_FIELD(SwitchboardDesignPower),
        SWITCHBOARD_FIELD(SwitchboardPowerA),
        SWITCHBOARD_FIELD(SwitchboardPowerB),
        SWITCHBOARD_FIELD(SwitchboardPowerC),
        SWITCHBOARD_FIELD(SwitchboardCosPhiA),
        SWITCHBOARD_FIELD(SwitchboardCosPhiB),
        SWITCHBOARD_FIELD(SwitchboardCosPhiC),
        SWITCHBOARD_FIELD(SwitchboardCurrentA),
        SWITCHBOARD_FIELD(SwitchboardCurrentB),
        SWITCHBOARD_FIELD(SwitchboardCurrentC),
        SWITCHBOARD_FIELD(SwitchboardNeutralCurrent),
        SWITCHBOARD_FIELD(SwitchboardDesignCurrent),
        SWITCHBOARD_FIELD(SwitchboardCosPhi),
        SWITCHBOARD_FIELD(TotalInstalledPower),
        SWITCHBOARD_FIELD(TotalDesignPower),
        SWITCHBOARD_FIELD(TotalPhasePowerA),
        SWITCHBOARD_FIELD(TotalPhasePowerB),
        SWITCHBOARD_FIELD(TotalPhasePowerC),
        SWITCHBOARD_FIELD(TotalCosPhiA),
        SWITCHBOARD_FIELD(TotalCosPhiB),
        SWITCHBOARD_FIELD(TotalCosPhiC),
        SWITCHBOARD_FIELD(TotalCosPhi),
        SWITCHBOARD_FIELD(TotalCurrentA),
        SWITCHBOARD_FIELD(TotalCurrentB),
        SWITCHBOARD_FIELD(TotalCurrentC),
        SWITCHBOARD_FIELD(TotalNeutralCurrent),
        SWITCHBOARD_FIELD(TotalDesignCurrent),
    };
    return fields;
}

#undef PANEL_FIELD
#undef SWITCHBOARD_FIELD

// The statements of a file without comments and blank lines, with their line numbers.
std::vector<std::pair<int, std::vector<std::string>>> ReadStatements(const fs::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::vector<std::pair<int, std::vector<std::string>>> statements;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) tokens.push_back(word);
        if (!tokens.empty()) statements.emplace_back(number, std::move(tokens));
    }
    return statements;
}

class ProjectCase : public CalcTest {
protected:
    void Build(const fs::path& file) {
        for (const auto& [line, t] : ReadStatements(file)) {
            SCOPED_TRACE(file.string() + ":" + std::to_string(line));
            const std::string& what = t[0];
            if (what == "switchboard") {
                AddSwitchboard(std::stoi(t.at(1)));
            } else if (what == "panel") {
                const double demand = t.size() > 4 && t[3] == "demand" ? ParseNumber(t[4]) : 1.0;
                ASSERT_NE(AddPanel(std::stoi(t.at(1)), t.at(2), demand), nullptr);
            } else if (what == "single") {
                AddSingle(std::stoi(t.at(1)), t.at(2), ParseNumber(t.at(3)), ParseNumber(t.at(4)));
            } else if (what == "two") {
                AddTwo(std::stoi(t.at(1)), t.at(2), ParseNumber(t.at(3)), ParseNumber(t.at(4)),
                       ParseNumber(t.at(5)), ParseNumber(t.at(6)));
            } else if (what == "three") {
                AddThree(std::stoi(t.at(1)), t.at(2),
                         {ParseNumber(t.at(3)), ParseNumber(t.at(4)), ParseNumber(t.at(5))},
                         {ParseNumber(t.at(6)), ParseNumber(t.at(7)), ParseNumber(t.at(8))});
            } else if (what == "distribute" && t.at(1) == "all") {
                DistributeAll();
            } else if (what == "recalculate") {
                MakeCurrent(std::stoi(t.at(1)));
                NetworkCalculation().RecalculateNetwork();
            } else {
                FAIL() << "unknown statement " << what;
            }
        }
    }

    void Check(const fs::path& file) {
        int checked = 0;
        for (const auto& [line, t] : ReadStatements(file)) {
            const std::string where = file.string() + ":" + std::to_string(line);
            const bool root = t[0] == "root";
            const std::size_t at = root ? 1 : 2;
            ASSERT_GT(t.size(), at + 1) << where;
            const std::string& field = t[at];
            std::string text = t[at + 1];
            const bool hundredths = text.back() == 'h';
            if (hundredths) text.pop_back();
            const double value = ParseNumber(text);
            const double expected = hundredths ? Hundredths(value) : value;
            const double tolerance = t.size() > at + 2 ? ParseNumber(t[at + 2]) : 0.0;

            long double actual = 0;
            if (t[0] == "panel") {
                const TSitid* panel = Panel(std::stoi(t[1]));
                ASSERT_NE(panel, nullptr) << where;
                ASSERT_TRUE(PanelFields().count(field)) << where << ": no panel field " << field;
                actual = PanelFields().at(field)(*panel);
            } else {
                const TGrsed* node = root ? ProjectRoot : Switchboard(std::stoi(t[1]));
                ASSERT_NE(node, nullptr) << where;
                ASSERT_TRUE(SwitchboardFields().count(field)) << where << ": no field " << field;
                actual = SwitchboardFields().at(field)(*node);
            }
            if (tolerance == 0)
                EXPECT_EQ(actual, static_cast<long double>(expected)) << where << " " << field;
            else
                EXPECT_NEAR(static_cast<double>(actual), expected, tolerance)
                    << where << " " << field;
            ++checked;
        }
        EXPECT_GT(checked, 0) << file.string() << " checks nothing";
    }
};

TEST_F(ProjectCase, EveryCaseFolder) {
    ASSERT_TRUE(fs::is_directory(kCasesFolder)) << kCasesFolder;
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(kCasesFolder))
        if (entry.is_directory()) folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    ASSERT_FALSE(folders.empty());
    for (const fs::path& folder : folders) {
        SCOPED_TRACE(folder.filename().string());
        NewProject();
        Build(folder / "project.txt");
        Check(folder / "expected.txt");
    }
}

}  // namespace
