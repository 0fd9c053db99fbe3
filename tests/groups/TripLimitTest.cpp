// A new line held against its breaker as the group line window takes it, at the limit the
// phase-zero loop sets: the single-phase current at the line's end is a third of |2 Z1 + Z0|,
// where the line's phase conductor and breaker stand in Z1 and its phase, three times its return
// conductor and its breaker in Z0.
#include "GroupsFixture.h"

namespace {

struct LimitCase {
    const char* length;  // m
    double section;      // mm2 the line ends on
    double current;      // A at its end
};

// A ТМ-630/10 (RT 3.0637, XT 13.6281 mOhm) behind 180 MVA (Xs 0.8889); the switchboard and the
// panel on feeders of no length, each behind a breaker of under 63 A (the 50 A row: 7 + j4.5)
// and the switchboard's contacts (0.3 + j0.14). A line of 2.2 kW on one phase (10 A, breaker
// 12.5 A of a series tripping at 10 times its rating: 125 A) on wire in air, copper at 65 C:
// 1.5 mm2 14.157527 + j0.113, 2.5 mm2 8.494516 + j0.104 mOhm/m.
//   Z1 = 24.3637 + 14.1575 L + j(28.1570 + 0.113 L), Z0 = 54.3637 + 56.6301 L + j(27.2681 +
//   0.452 L); Z = |2 Z1 + Z0| / 3, above 700 mOhm the arc factor 0.7: I = 400 / (sqrt 3 Z) x 0.7.
//   44 m on 1.5 mm2: Z = 1280.78, 126.2 A > 125 A, kept;
//   45 m on 1.5 mm2: Z = 1309.09, 123.5 A, too little: raised to 2.5 mm2, Z = 799.74, 202.1 A.
class TripLimitTest : public GroupDialogTest, public ::testing::WithParamInterface<LimitCase> {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        WriteTransformerBase({{"ТМ-630/10", 630, 5.5, 7600}});
        ProjectRoot->TransformerName = "ТМ-630/10";
        WriteBreakerBase(BreakerSeries({1600, 1600, 1600, 1600}, 10));
    }
};

TEST_P(TripLimitTest, TheLineTripsItsBreakerAtItsEnd) {
    const LimitCase& c = GetParam();
    OpenGroupWindow();
    Entry line;
    line.length = c.length;
    EnterLine(line, kNewProjectBreakers);
    const TCxemaGrupd* added = SchemeRecord("Гр1");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->BreakerRating, 12.5);
    EXPECT_EQ(added->CrossSection, c.section);
    EXPECT_DOUBLE_EQ(added->SinglePhaseFaultCurrent, c.current);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TripLimitTest,
                         ::testing::Values(LimitCase{"44", 1.5, 126.2},
                                           LimitCase{"45", 2.5, 202.1}));

}  // namespace
