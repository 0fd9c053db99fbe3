#pragma once
// For the cross-sections raised for the voltage deviation at a group: a switchboard and a panel at
// the largest section of the copper table, and the group line G (30 kW three-phase over 200 m at
// 2.5 mm2), the panel's current group.
//
// The switchboard and the panel carry no load here, so every loss is the group line's own:
// 30 kW three-phase over L m of copper, by the coefficient C = 77: 30 x L / (77 x S) per cent.
// The deviation at 220 V: U = 400 / sqrt 3 x (1 - loss / 100), U x 100 / 220 - 100.
//   L = 200 m: S = 10 mm2: loss 7.792 %, -3.21 %; S = 16 mm2: loss 4.870 %, -0.14 %.
//   L = 2000 m: S = 120 mm2: loss 6.494 %, -1.84 % (the best any section gives).
#include "ChecksFixture.h"

class SectionRaisingTest : public ChecksTest {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        sw->SwitchboardBreakerType = "";
        sw->SwitchboardInputRating = 0;
        sw->SwitchboardSection = 120;  // the largest of the copper table
        panel->FeederSection = 120;
        group = AddGroup(panel, {"G", 4, 30, 1, 200}, kCopperCableRows);
        group->CrossSection = 2.5;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = group;
    }
    TCxemaGrupd* group = nullptr;
};
