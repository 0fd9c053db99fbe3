// What a refresh keeps of the project to tell the next one which switchboards it may leave
// alone: any change of a switchboard's records, of any part of any record, of its chains or of
// the tables it names makes it changed; any change of a value every switchboard reads makes the
// whole project changed.
#include <functional>
#include <string>
#include <vector>

#include "GroupsFixture.h"
#include "groups/SettledSwitchboards.h"
#include "model/Chains.h"
#include "refdb/TableSchemas.h"

namespace {

class SettledSwitchboardsTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        AddFourConductorLine();
        other = AddSwitchboard(2);
    }

    // Every switchboard of the project.
    static std::vector<const TGrsed*> All() {
        const std::vector<TGrsed*> every = chains::SwitchboardsOf(*ProjectRoot);
        return {every.begin(), every.end()};
    }

    TGrsed* other = nullptr;
};

TEST_F(SettledSwitchboardsTest, NothingKeptLeavesNothingAlone) {
    const SettledSwitchboards settled;
    EXPECT_FALSE(settled.SameShared(*ProjectRoot));
    EXPECT_FALSE(settled.Unchanged(*sw));
}

TEST_F(SettledSwitchboardsTest, AnyChangeOfASwitchboardMakesItChanged) {
    ASSERT_TRUE(SinglePhaseRecord("Гр0"));
    ASSERT_TRUE(ThreePhaseRecord("Гр1"));
    ASSERT_TRUE(panel->ThreePhaseByPhase[1].First);
    TCxemaGrupd* const first = panel->SchemeGroups.First;
    // Each change is made on what was kept just before it, and taken back afterwards.
    const struct {
        const char* what;
        std::function<void()> change;
        std::function<void()> back;
    } cases[] = {
        {"a line's section", [&] { SchemeRecord("Гр1")->CrossSection += 1; },
         [&] { SchemeRecord("Гр1")->CrossSection -= 1; }},
        {"the breaker type a phase record carries with its line's part",
         [&] { SinglePhaseRecord("Гр0")->BreakerType += "x"; },
         [&] { SinglePhaseRecord("Гр0")->BreakerType.pop_back(); }},
        {"a phase record's own value", [&] { ThreePhaseRecord("Гр1")->CurrentA3 += 1; },
         [&] { ThreePhaseRecord("Гр1")->CurrentA3 -= 1; }},
        {"a result record of phase B",
         [&] { panel->ThreePhaseByPhase[1].First->VoltageLoss3 += 1; },
         [&] { panel->ThreePhaseByPhase[1].First->VoltageLoss3 -= 1; }},
        {"the panel's feeder", [&] { panel->FeederLength += 1; },
         [&] { panel->FeederLength -= 1; }},
        {"the switchboard's feeder", [&] { sw->SwitchboardFeederLength += 1; },
         [&] { sw->SwitchboardFeederLength -= 1; }},
        {"the panel fields of the switchboard's own record", [&] { sw->FeederLength += 1; },
         [&] { sw->FeederLength -= 1; }},
        {"a chain walked one record shorter",
         [&] { panel->SchemeGroups.First = panel->SchemeGroups.First->SchemeGroups.Next; },
         [&] { panel->SchemeGroups.First = first; }},
        {"the table of a line written again",
         [&] { WriteCableTable(kCable4, "ВВГ", "4", refdb::kCable, kCable4Rows); }, [] {}},
    };
    SettledSwitchboards settled;
    for (const auto& c : cases) {
        settled.Keep(*ProjectRoot, All());
        EXPECT_TRUE(settled.SameShared(*ProjectRoot)) << c.what;
        EXPECT_TRUE(settled.Unchanged(*sw)) << c.what;
        c.change();
        EXPECT_FALSE(settled.Unchanged(*sw)) << c.what;
        EXPECT_TRUE(settled.Unchanged(*other)) << c.what;
        EXPECT_TRUE(settled.SameShared(*ProjectRoot)) << c.what;
        c.back();
    }
    // Kept anew for switchboard 2 only: switchboard 1 keeps what was kept of it before.
    settled.Keep(*ProjectRoot, All());
    sw->SwitchboardFeederLength += 1;
    settled.Keep(*ProjectRoot, {other});
    EXPECT_FALSE(settled.Unchanged(*sw));
    EXPECT_TRUE(settled.Unchanged(*other));
}

TEST_F(SettledSwitchboardsTest, AnyChangeOfWhatEverySwitchboardReadsChangesTheWholeProject) {
    TGrsed& root = *ProjectRoot;
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"the transformer", [&] { root.TransformerName = "ТМ-630/10"; }},
        {"the supply power", [&] { root.SupplyScPower += 1; }},
        {"the project's design power", [&] { root.TotalDesignPower += 1; }},
        {"the project's cos phi", [&] { root.TotalCosPhi -= 0.01; }},
        {"the breaker base written again",
         [&] {
             WriteBreakerBase(BreakerSeries({1600, 1600, 1600, 1600}));
         }},
        {"the transformer base written again",
         [&] {
             WriteTransformerBase({{"ТМ-400/10", 400, 0, 0}, {"ТМ-630/10", 630, 0, 0}});
         }},
    };
    SettledSwitchboards settled;
    for (const auto& c : cases) {
        settled.Keep(root, All());
        EXPECT_TRUE(settled.SameShared(root)) << c.what;
        c.change();
        EXPECT_FALSE(settled.SameShared(root)) << c.what;
        EXPECT_TRUE(settled.Unchanged(*sw)) << c.what;
    }
    settled.Forget();
    EXPECT_FALSE(settled.SameShared(root));
}

}  // namespace
