// A line that a data check, a breaker, a short-circuit check or the voltage deviation refuses is
// taken back: after "закрыть" the project and the window's lists are those before the command,
// and the names it reserved are free again.
#include <QTest>

#include "GroupsFixture.h"
#include "TreeLookup.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"

using platform::mrNo;
using platform::mrOk;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr char kCaption[] = "Предупреждение.";

}  // namespace

class RollbackTest : public GroupDialogTest {
public:
    // For the cases' set-ups.
    using GroupDialogTest::WriteBreakerBase;
    using GroupDialogTest::WriteTransformerBase;

protected:
    // The project and the lists the window keeps, taken after a "закрыть" refresh.
    struct State {
        TreeImage tree;
        std::vector<std::string> groups, cables;
        std::array<int, 4> counts{};
        bool operator==(const State&) const = default;
    };
    State Closed() {
        OpenGroupWindow();
        Click(*Dan1->ok);
        return {ImageWithoutResultSectionCopies(*ProjectRoot), Dan1->GroupNames, Shiti->CableNames,
                Dan1->GroupCountCopies};
    }

    // A refused entry: the window stays closed, the project is as before, the names are free.
    void ExpectTakenBack(const State& before, const char* what) {
        EXPECT_FALSE(Dan1->isVisible()) << what;
        EXPECT_EQ(SchemeRecord("Гр9"), nullptr) << what;
        EXPECT_EQ(Dan1->GroupCounter, 2) << what;
        const State after = Closed();
        EXPECT_EQ(FirstDifference(after.tree, before.tree), "") << what;
        EXPECT_EQ(after.groups, before.groups) << what;
        EXPECT_EQ(after.cables, before.cables) << what;
        EXPECT_EQ(after.counts, before.counts) << what;
    }

    // The line that the checks below refuse.
    static Entry Refused(const std::string& power, const std::string& conductors = "2",
                         const std::string& table = kWire2) {
        Entry entry;
        entry.name = "Гр9";
        entry.cable = "К9";
        entry.power = power;
        entry.conductors = conductors;
        entry.table = table;
        return entry;
    }
};

// The line's cable table ends at 100 A: 21.94 kW on one phase draws 21940 / 219.393 = 100.003
// -> 100.00 A and passes; 21.95 kW draws 100.049 -> 100.05 A and is refused. The cable name it
// reserved is free for the next entry.
TEST_F(RollbackTest, TheCableTableOfTheLineCarriesTheCurrent) {
    AddFirstLine();
    const State before = Closed();
    OpenGroupWindow();
    Fill(Refused("21,95"));
    responder_.ExpectMessage("Для данной мощности, в таблице нет данных.", kCaption, mrOk);
    Apply();
    ExpectShown({{"Для данной мощности, в таблице нет данных.", kCaption, MsgIcon::Warning}});
    ExpectTakenBack(before, "above the table");

    OpenGroupWindow();
    Fill(Refused("21,94"));
    ExpectBreakerDialogs({"Группы"});
    Apply();
    const TCxemaGrupd* accepted = SchemeRecord("Гр9");
    ASSERT_NE(accepted, nullptr);
    EXPECT_DOUBLE_EQ(accepted->DesignCurrent, 100.0);
    EXPECT_EQ(accepted->CableName, "К9");
    EXPECT_EQ(Dan1->GroupCounter, 3);
    EXPECT_EQ(Dan1->GroupCounterCode, 1000);
}

// The data checks before any breaker is chosen: the breaker range (630 A: 140 kW on one phase
// draws 140000 / 219.393 = 638.1 A), the panel's feeder table (79 kW on three phases draws
// 79000 / (sqrt 3 x 380) = 120.03 A a phase, within the line's table of 145 A but not the
// panel's of 100 A) and the transformer base (52.2 kVA of load with nothing above 40 kVA).
TEST_F(RollbackTest, DataRefusals) {
    const struct {
        const char* what;
        void (*prepare)(RollbackTest&);
        Entry entry;
        std::string message;
    } cases[] = {
        {"breaker range", [](RollbackTest&) {}, Refused("140"),
         "Для данной мощности, нет данных для автомата."},
        {"panel table", [](RollbackTest&) { PanelNumbered(1)->CurrentTableName = kWire2; },
         Refused("79", "4", kCable4), "Для данной мощности, в таблице нет данных."},
        {"transformer base",
         [](RollbackTest& t) {
             t.WriteTransformerBase({{"ТМ-25/10", 25, 0, 0}, {"ТМ-40/10", 40, 0, 0}});
             ProjectRoot->TransformerName = "ТМ-25/10";
         },
         Refused("50", "4", kCable4),
         "Для данной мощности нагрузки, для трансформатора нет данных."},
    };
    AddFirstLine();
    for (const auto& c : cases) {
        c.prepare(*this);
        const State before = Closed();
        OpenGroupWindow();
        Fill(c.entry);
        responder_.ExpectMessage(c.message, kCaption, mrOk);
        const std::size_t shown = responder_.Messages().size();
        Apply();
        responder_.VerifyDone();
        ASSERT_EQ(responder_.Messages().size(), shown + 1) << c.what;
        EXPECT_EQ(responder_.Messages().back().icon, MsgIcon::Warning) << c.what;
        ExpectTakenBack(before, c.what);
    }
}

// Refusals after the breakers are chosen: no single-pole breaker for 80 A (15.4 kW on one phase
// draws 15400 / 219.393 = 70.19 A, the breaker above it is 80 A, the base's single-pole series
// ends at 63 A), a short circuit at the end of 700 m that the group breaker (12.5 A, trip
// multiplicity 10: 125 A) does not see even on the largest wire (both conductors of 16 mm2,
// 1.327268 + j0.0675 mOhm/m at 65 C, behind the breakers of 50 A and under, 7 + j4.5 each, the
// contacts and the system: |2 Z1 + Z0| / 3 = |5668.43 + j326.20| / 3 = 1892.6 mOhm, 85.4 A), and
// a voltage drop that no cross-section brings within
// 10 %: 5 kW on 600 m has, on the largest wire of 16 mm2, 5 x 600 / (12.8 x 16) = 14.648 % of
// loss, 400 / sqrt 3 x (1 - 0.14648) / 220 x 100 - 100 = -10.40 %.
TEST_F(RollbackTest, RefusalsAfterTheBreakers) {
    const std::string noBreaker =
        "Номинальный ток автомата 80 A. На участке группа - щит  В базе данных нет такого "
        "автомата. Открыть базу данных для редактирования?";
    const std::string shortCircuit =
        "Ток короткого замыкания превышает ток электромагнитного расцепителя.Данная группа "
        "отменяется";
    const std::string voltage = "Падение напряжения на потребителе более 10 %,группа отменяется";
    const struct {
        const char* what;
        std::vector<BreakerSeriesRow> base;
        Entry entry;
        Shown message;
        int answer;
        bool groupBreakerDialog;
    } cases[] = {
        // Refused before the group breaker's type is asked for.
        {"no breaker",
         {{"A1", 0.32, 63, 1, 0}, {"A3", 0.32, 1600, 3, 0}},
         Refused("15,4"),
         {noBreaker, "Предупреждение", MsgIcon::Warning, MsgButtons::YesNo},
         mrNo,
         false},
        {"short circuit",
         {{"A1", 0.32, 1600, 1, 10}, {"A3", 0.32, 1600, 3, 0}},
         [] {
             Entry e = Refused("2,2");
             e.length = "700";
             return e;
         }(),
         {shortCircuit, "Предупреждение", MsgIcon::Warning},
         mrOk,
         true},
        {"voltage",
         {{"A1", 0.32, 1600, 1, 0}, {"A3", 0.32, 1600, 3, 0}},
         [] {
             Entry e = Refused("5");
             e.length = "600";
             return e;
         }(),
         {voltage, "Предупреждение", MsgIcon::Warning},
         mrOk,
         true},
    };
    AddFirstLine();
    for (const auto& c : cases) {
        WriteBreakerBase(c.base);
        const State before = Closed();
        OpenGroupWindow();
        Fill(c.entry);
        if (c.groupBreakerDialog) ExpectBreakerDialogs({"Группы"});
        responder_.ExpectMessage(c.message.text, c.message.caption, c.answer);
        const std::size_t shown = responder_.Messages().size();
        Apply();
        responder_.VerifyDone();
        const std::vector<platform::MessageRecord> messages = responder_.Messages();
        ASSERT_EQ(messages.size(), shown + 1) << c.what;
        EXPECT_EQ(messages.back().icon, c.message.icon) << c.what;
        EXPECT_EQ(messages.back().buttons, c.message.buttons) << c.what;
        ExpectTakenBack(before, c.what);
    }
}
