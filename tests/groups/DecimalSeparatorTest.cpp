// Every number the user types in the group entry takes a comma or a point as its decimal
// separator: the group window's power and cos phi, the per-phase powers and cos phi of the
// unbalanced-load dialog, the power system's short-circuit power and the deviation limit. A cos
// phi such as 0,95 fits its field.
#include <QTest>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "groups/NotSimmetr3F.h"
#include "app/PowerSystem.h"

using platform::mrNone;
using platform::mrYes;

class DecimalSeparatorTest : public GroupDialogTest,
                             public ::testing::WithParamInterface<std::string> {
protected:
    // A number written with the separator of the run: N("0", "95") is "0,95" or "0.95".
    static std::string N(const std::string& whole, const std::string& fraction) {
        return whole + GetParam() + fraction;
    }
};

TEST_P(DecimalSeparatorTest, EveryNumberFieldTakesIt) {
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        Type(*PowerSystem->Edit1, N("180", "5"));
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        return mrNone;
    });
    Form1->N11->trigger();
    ASSERT_TRUE(Dan1->isVisible());

    // 1.8 kW on 76 m, the panel's first line, deviates -2,51 % (DeviationTest); the limit typed
    // -2.5 raises its wire.
    Entry far;
    far.power = N("1", "8");
    far.length = "76";
    Fill(far);
    ExpectBreakerDialogs(kNewProjectBreakers);
    responder_.ExpectMessage(
        "Отклонение напряжения на потребителе  -2,51%.  Уменьшить отклонение напряжения?",
        "Предупреждение.", mrYes);
    responder_.ExpectModal("QDialog", [](QDialog&) {
        Type(*Dan1->DeviationEdit, N("-2", "5"));
        QTest::mouseClick(Dan1->DeviationButton, Qt::LeftButton);
        return mrNone;
    });
    Apply();
    responder_.VerifyDone();
    ExpectShown(
        {{"Отклонение напряжения на потребителе  -2,51%.  Уменьшить отклонение "
          "напряжения?",
          "Предупреждение.", platform::MsgIcon::Warning, platform::MsgButtons::YesNo}});

    // One phase: 2.2 kW at cos phi 0.95.
    Entry line;
    line.power = N("2", "2");
    line.cosPhi = N("0", "95");
    line.name = "Гр2";
    line.cable = "К2";
    Fill(line);
    EXPECT_EQ(Dan1->Edit1->text().toStdString(), line.cosPhi);
    ExpectBreakerDialogs({"Группы"});
    Apply();
    responder_.VerifyDone();

    // Three phases, unbalanced: 1.5, 2 and 2.5 kW at cos phi 0.95, 1 and 0.65.
    Entry three;
    three.conductors = "4";
    three.table = kCable4;
    three.name = "Гр3";
    three.cable = "К3";
    Fill(three);
    responder_.ExpectModal("TNotSimmetr_3F", [](QDialog&) {
        TNotSimmetr_3F& d = *NotSimmetr_3F;
        Type(*d.Edit1, N("1", "5"));
        Type(*d.Edit2, "2");
        Type(*d.Edit3, N("2", "5"));
        Type(*d.Edit4, N("0", "95"));
        Type(*d.Edit5, "1");
        Type(*d.Edit6, N("0", "65"));
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        return mrNone;
    });
    Click(*Dan1->RadioButton2);
    EXPECT_EQ(Dan1->Edit2->text().toStdString(), "6");
    ExpectBreakerDialogs({"Группы"});
    Apply();
    responder_.VerifyDone();

    const TCxemaGrupd* reduced = SchemeRecord("Гр1");
    const TCxemaGrupd* single = SchemeRecord("Гр2");
    const TFasaGrup3d* unbalanced = ThreePhaseRecord("Гр3");
    ASSERT_TRUE(reduced && single && unbalanced);
    const struct {
        const char* field;
        long double stored, expected;
    } fields[] = {
        {"short-circuit power of the power system", ProjectRoot->SupplyScPower, 180.5},
        // Powers are held as the project file gives them back: the double nearest the text.
        {"power of the line reduced", reduced->Power, 1.8},
        {"power", single->Power, 2.2},
        {"cos phi", single->CosPhi, 0.95},
        {"power of phase A", unbalanced->PhasePowers[0], 1.5},
        {"power of phase C", unbalanced->PhasePowers[2], 2.5},
        {"cos phi of phase A", unbalanced->PhaseCosPhi[0], 0.95},
        {"cos phi of phase C", unbalanced->PhaseCosPhi[2], 0.65},
    };
    for (const auto& f : fields) EXPECT_EQ(f.stored, f.expected) << f.field;
    // The limit was read: the wire of the line reduced is above 1.5 mm2, its deviation within it.
    EXPECT_GT(reduced->CrossSection, 1.5);
    EXPECT_GE(reduced->VoltageDeviation, -2.5);
}

INSTANTIATE_TEST_SUITE_P(Separators, DecimalSeparatorTest, ::testing::Values(",", "."),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param == "," ? "Comma" : "Point";
                         });
