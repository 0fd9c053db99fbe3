// The transformer raised for the load, and the switchboard supply raised (cable, then
// transformer) until the breaker feeding the switchboard trips.
#include "ChecksFixture.h"
#include "SelectionOnWindows.h"
#include "app/PowerSystem.h"
#include "platform/Events.h"
#include "refdb/BazaTran.h"

namespace {

class TransformerForLoadTest : public OnTheWindows<ChecksTest> {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        // Two transformers of one power stand one after the other.
        WriteTransformerBase({{"ТМ-250", 250, 4.5, 3700},
                              {"ТМ-400а", 400, 4.5, 5500},
                              {"ТМ-400б", 400, 4.5, 5900},
                              {"ТМ-630", 630, 5.5, 7600}});
    }
};

TEST_F(TransformerForLoadTest, MovesUpUntilThePowerExceedsTheLoad) {
    const struct {
        const char* project;
        const char* passed;  // the name the power-system list shows
        double load;
        double power;
        const char* reached;
        bool ranOut;
    } cases[] = {
        {"ТМ-400а", "ТМ-400а", 400, 400, "ТМ-400а", false},  // equal load: its own stays
        {"ТМ-400а", "ТМ-250", 300, 400, "ТМ-400б", false},   // another name: at least one step
        {"ТМ-250", "ТМ-250", 500, 630, "ТМ-630", false},     // both of 400 kVA passed
        {"ТМ-250", "ТМ-250", 700, 630, "ТМ-630", true},      // above every transformer
        {"ТМ-1", "ТМ-1", 100, 0, "ТМ-1", true},              // not in the base
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.load);
        ProjectRoot->TransformerName = c.project;
        EXPECT_EQ(dan().SelectTransformerForLoad(c.passed, c.load), c.power);
        EXPECT_EQ(ProjectRoot->TransformerName, c.reached);
        EXPECT_EQ(dan().TransformerBaseRanOut(), c.ranOut);
        // The caller reads the end of the base from the base itself.
        EXPECT_EQ(BazaTran->ClientDataSet2.Eof(), c.ranOut);
    }
}

class SwitchboardTripTest : public OnTheWindows<ChecksTest> {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        for (const selection::TransformerRow& row : selection::TransformerRows())
            PowerSystem->ComboBox5->addItem(platform::Q(row.name));
        PowerSystem->ComboBox5->setCurrentIndex(1);
    }
    // Fault current at the switchboard with its supply section and a transformer of the base.
    double CurrentAt(double section, std::size_t transformer) {
        selection::FaultPath path;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.switchboardSection = section;
        path.switchboardMaterial = "Медь";
        MakeCurrent(sw, panel);
        const double current =
            selection::FaultCurrent(path, selection::TransformerRows()[transformer]);
        MakeCurrent(sw, panel);
        return current;
    }
    // A rating of "B3" (multiplicity 10) whose trip current lies between two currents.
    void TripBetween(double low, double high) {
        ASSERT_LT(low, high);
        sw->SwitchboardInputRating = (low + high) / 2 / 10;
    }
};

// Rows of the base by power: 0 ТМ-250, 1 ТМ-400 (the project's), 2 ТМ-630, 3 ТМ-1000.
TEST_F(SwitchboardTripTest, SupplyTakesTheNextSectionThatTrips) {
    TripBetween(CurrentAt(50, 1), CurrentAt(70, 1));
    dan().EnsureSwitchboardTripCurrent();
    EXPECT_EQ(sw->SwitchboardSection, 70);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, CurrentAt(70, 1));
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
}

TEST_F(SwitchboardTripTest, SufficientSupplyOnlyGetsItsFaultCurrent) {
    TripBetween(CurrentAt(35, 1), CurrentAt(50, 1));
    dan().EnsureSwitchboardTripCurrent();
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, CurrentAt(50, 1));
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
}

// The table runs out with the project's transformer: the next one is tried from the smallest
// section; when it works with a section below the one in force, only the transformer changes.
TEST_F(SwitchboardTripTest, ExhaustedTableTakesTheNextTransformer) {
    sw->SwitchboardFeederLength = 1;
    // ТМ-630/10 trips it from 10 mm2 on, below the 50 mm2 in force.
    TripBetween(CurrentAt(120, 1), CurrentAt(10, 2));
    dan().EnsureSwitchboardTripCurrent();
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-630/10");
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, CurrentAt(50, 2));
    EXPECT_EQ(PowerSystem->ComboBox5->currentText().toStdString(), "ТМ-630/10");
}

// Beyond the largest transformer with the largest section: nothing changes, and the walk ends.
TEST_F(SwitchboardTripTest, NothingChangesWhenEvenTheLargestCannotTrip) {
    sw->SwitchboardFaultCurrent1 = 1234;
    sw->SwitchboardInputRating = CurrentAt(120, 3) / 10 + 1;
    dan().EnsureSwitchboardTripCurrent();
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, 1234);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");

    // A breaker without a series is not held against anything.
    sw->SwitchboardBreakerType = "";
    sw->SwitchboardInputRating = 100000;
    dan().EnsureSwitchboardTripCurrent();
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, 1234);
}

}  // namespace
