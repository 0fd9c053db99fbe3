// Projects built through the windows equal, value for value, what the program holds after
// saving them and opening the file again: what the user sees right after building is what the
// file gives back.
#include <gtest/gtest.h>

#include "ProjectScript.h"

namespace {

using namespace script;

struct BuiltCase {
    const char* name;
    Project project;
};

std::ostream& operator<<(std::ostream& out, const BuiltCase& c) {
    return out << c.name;
}

std::vector<BuiltCase> Cases() {
    return {
        // A radial panel behind a wired supply cable, lines of two and four conductors.
        {"radial panel behind a long wired supply",
         {"ТМ-250/10",
          {{"1",
            "48",
            {Radial("1", "20", "ВВГв4.xml",
                    {{"1.1", "4", "11", "0,8", "30", "ВВГв4.xml"},
                     {"1.2", "2", "2", "0,9", "25", "ВВГв2.xml"},
                     {"1.3", "4", "7,5", "0,8", "40", "ВВГв4.xml"},
                     {"1.4", "2", "1,5", "0,9", "35", "ВВГв2.xml"}})},
            "ПВ1т4.xml"}},
          {},
          {}}},
        // The balancing of the single-phase lines compares sums exactly: 0,4 and 0,8 kW stand on
        // phases A and C only when the typed powers are held as the file gives them back.
        {"single-phase lines after a three-phase line elsewhere",
         {"ТМ-250/10",
          {{"1",
            "40",
            {Radial("2", "20", "ВВГв4.xml", {}),
             Radial("4", "20", "ВВГв4.xml", {{"4.1", "4", "11,4", "0,8", "20", "ВВГв4.xml"}})}}},
          {},
          {{"2", {"2.1", "2", "0,4", "0,9", "15", "ВВГв2.xml"}},
           {"2", {"2.2", "2", "0,8", "0,9", "15", "ВВГв2.xml"}}}}},
    };
}

class BuiltAndReopened : public ProjectScriptTest,
                         public ::testing::WithParamInterface<BuiltCase> {};

TEST_P(BuiltAndReopened, HoldsWhatTheFileGivesBack) {
    Build(GetParam().project);
    const std::string differences = DifferencesAfterReopening("Built.VPQ");
    EXPECT_TRUE(differences.empty()) << differences;
}

INSTANTIATE_TEST_SUITE_P(Projects, BuiltAndReopened, ::testing::ValuesIn(Cases()));

}  // namespace
