// The cross-section of a new line chosen for its ambient temperature, as the group line window
// takes it: the current table's continuous currents (here "Кабель3.xml": 16 mm2 75 A, 25 mm2
// 95 A, in air) times the factor of the temperature's column, or of the warmer column when the
// temperature lies between two.
#include "GroupsFixture.h"

namespace {

struct TemperatureCase {
    const char* power;        // kW on two phases at cos phi 1: P x 1000 / 440 A
    const char* temperature;  // degrees C
    double section;
    const char* why;
};

class AmbientTemperatureTest : public GroupDialogTest,
                               public ::testing::WithParamInterface<TemperatureCase> {};

TEST_P(AmbientTemperatureTest, TakesTheSectionTheFactorAllows) {
    const TemperatureCase& c = GetParam();
    OpenGroupWindow();
    Entry line;
    line.conductors = "3";
    line.table = kCable3;
    line.power = c.power;
    line.temperature = c.temperature;
    EnterLine(line, kNewProjectBreakers);
    const TCxemaGrupd* added = SchemeRecord("Гр1");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->CrossSection, c.section) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AmbientTemperatureTest,
    ::testing::Values(
        TemperatureCase{"29,92", "25", 16, "68 A at 25 C: 75 A x 1.00 = 75 A"},
        TemperatureCase{"29,92", "35", 25, "68 A at 35 C: 75 A x 0.87 = 65.25 A too little"},
        TemperatureCase{"34,32", "25", 25, "78 A at 25 C: 75 A too little"},
        TemperatureCase{"34,32", "29", 25, "78 A at 29 C, the 30 C column: 75 x 0.94 = 70.5 A"},
        TemperatureCase{"29,92", "21", 16, "68 A at 21 C, the 25 C column: 75 A"}));

}  // namespace
