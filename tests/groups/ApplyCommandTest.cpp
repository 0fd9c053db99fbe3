// "Применить" driven as a user drives it: the group line's records, its breakers and the
// counters of a successful entry.
#include <QTest>

#include "GroupsFixture.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"

using platform::MsgButtons;
using platform::MsgIcon;

// The design currents of the two records of a line. The scheme record uses the phase voltage
// 380 / sqrt 3 = 219.393 V, the single-phase record 220 V:
//   2 conductors, 2.2 kW, cos 1: 2200 / 219.393 = 10.0277 -> 10.03 A; 2200 / 220 = 10.00 A;
//   3 conductors, 2.2 kW, cos 1: 2200 / (2 x 219.393) = 5.0138 -> 5.01 A;
//   4 conductors, 10 kW, cos 0.8: 10000 / (sqrt 3 x 380 x 0.8) = 18.992 -> 18.99 A.
// A balanced line of three phases carries a third of its power on each, as the project file
// keeps it: 11 / 3 to fifteen significant digits, so that the project opened again sums the
// same phase powers.
TEST_F(GroupDialogTest, AThirdOfTheLineOnEachPhaseAsTheFileKeepsIt) {
    OpenGroupWindow();
    Entry entry;
    entry.conductors = "4";
    entry.power = "11";
    entry.cosPhi = "0,8";
    entry.table = kCable4;
    EnterLine(entry, kNewProjectBreakers);
    const TFasaGrup3d* three = ThreePhaseRecord(entry.name);
    ASSERT_NE(three, nullptr);
    for (long double power : three->PhasePowers) EXPECT_EQ(power, static_cast<long double>(3.66666666666667)) << power;
}

TEST_F(GroupDialogTest, DesignCurrentsOfTheRecords) {
    const struct {
        std::string conductors, power, cosPhi, table;
        double scheme;
    } cases[] = {
        {"2", "2,2", "1", kWire2, 10.03},
        {"3", "2,2", "1", kCable3, 5.01},
        {"4", "10", "0,8", kCable4, 18.99},
    };
    OpenGroupWindow();
    int n = 0;
    for (const auto& c : cases) {
        ++n;
        Entry entry;
        entry.conductors = c.conductors;
        entry.power = c.power;
        entry.cosPhi = c.cosPhi;
        entry.table = c.table;
        entry.name = "Гр" + std::string(1, static_cast<char>('0' + n));
        entry.cable = "К" + std::string(1, static_cast<char>('0' + n));
        // A new project asks for every breaker type once; the types stay for the lines after.
        EnterLine(entry, n == 1 ? kNewProjectBreakers : std::vector<std::string>{"Группы"});
        const TCxemaGrupd* scheme = SchemeRecord(entry.name);
        ASSERT_NE(scheme, nullptr) << c.conductors;
        EXPECT_DOUBLE_EQ(scheme->DesignCurrent, c.scheme) << c.conductors;
        EXPECT_EQ(scheme->PhaseKind, std::stoi(c.conductors));
    }
    const TFasaGrup1d* single = SinglePhaseRecord("Гр1");
    ASSERT_NE(single, nullptr);
    EXPECT_DOUBLE_EQ(single->Current1, 10.0);
    ExpectShown({});
}
