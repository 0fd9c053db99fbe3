// The unbalanced-load dialogs: the per-phase entries checked in their order, the total power
// written into the group window, and the phase records built from them.
#include <QTest>

#include "GroupsFixture.h"
#include "groups/Dan12.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"

using platform::mrOk;
using platform::MsgIcon;

namespace {

constexpr char kCaption[] = "предупреждение.";
constexpr char kEnterPower[] = "Введите мощность нагрузки.";
constexpr char kEnterCosPhi[] = "Введите коэффициент мощности.";
constexpr char kPositivePower[] = "Мощность нагрузки должна быть больше нуля.";
constexpr char kCosPhiRange[] = "Коэффициент мощности должен быть больше 0 и меньще или равно 1.";

struct PhaseEntries {
    std::vector<std::string> powers, cosines;
    const char* message;  // nullptr: accepted
};

// Each refusal, the first failing test winning; the last entries are accepted.
const PhaseEntries kThreePhaseEntries[] = {
    {{"1", "2", "x"}, {"x", "1", "1"}, kEnterPower},
    {{"1", "2", "3"}, {"1", "1", ""}, kEnterCosPhi},
    {{"1", "0", "3"}, {"0", "1", "1"}, kPositivePower},
    {{"1", "-2", "3"}, {"1", "1", "1"}, kPositivePower},
    {{"1", "2", "3"}, {"0", "1", "1"}, kCosPhiRange},
    {{"1", "2", "3"}, {"1", "1,01", "1"}, kCosPhiRange},
    {{"1", "2", "3"}, {"1", "0,9", "0,8"}, nullptr},
};

}  // namespace

class UnbalancedLoadTest : public GroupDialogTest {
protected:
    // Types the entries into the dialog and presses "Ok".
    static void Enter(QDialog& dialog, const std::vector<QLineEdit*>& powers,
                      const std::vector<QLineEdit*>& cosines, const PhaseEntries& entries) {
        for (std::size_t i = 0; i < powers.size(); ++i) Type(*powers[i], entries.powers[i]);
        for (std::size_t i = 0; i < cosines.size(); ++i) Type(*cosines[i], entries.cosines[i]);
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    }
};

// Four conductors, "Несимметричная": 1, 2 and 3 kW on phases А, В, С give 6 kW in the power
// field, which is locked with cos phi; the three-phase record is not balanced.
TEST_F(UnbalancedLoadTest, ThreePhases) {
    OpenGroupWindow();
    Entry entry;
    entry.conductors = "4";
    entry.table = kCable4;
    Fill(entry);
    ASSERT_TRUE(Dan1->RadioButton2->isEnabled());
    responder_.ExpectModal("TNotSimmetr_3F", [this](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Несимметричная нагрузка три фазы плюс ноль");
        EXPECT_EQ(dialog.size(), QSize(262, 176));
        TNotSimmetr_3F& d = *NotSimmetr_3F;
        for (const PhaseEntries& e : kThreePhaseEntries) {
            Enter(dialog, {d.Edit1, d.Edit2, d.Edit3}, {d.Edit4, d.Edit5, d.Edit6}, e);
            // Refused: the dialog stays, the group window's power as it was.
            if (e.message) {
                EXPECT_EQ(dialog.result(), platform::mrNone) << e.message;
                EXPECT_EQ(Dan1->Edit2->text().toStdString(), "2,2");
            }
        }
        EXPECT_EQ(dialog.result(), mrOk);
        return platform::mrNone;
    });
    std::vector<Shown> expected;
    for (const PhaseEntries& e : kThreePhaseEntries) {
        if (!e.message) continue;
        responder_.ExpectMessage(e.message, kCaption, mrOk);
        expected.push_back({e.message, kCaption, MsgIcon::Warning});
    }
    Click(*Dan1->RadioButton2);
    responder_.VerifyDone();
    ExpectShown(expected);
    EXPECT_EQ(Dan1->Edit2->text().toStdString(), "6");
    EXPECT_FALSE(Dan1->Edit2->isEnabled());
    EXPECT_FALSE(Dan1->Edit1->isEnabled());

    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    const TFasaGrup3d* record = ThreePhaseRecord("Гр1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->PhasePowers, (std::vector<long double>{1, 2, 3}));
    EXPECT_EQ(record->PhaseCosPhi, (std::vector<double>{1, 0.9, 0.8}));
    EXPECT_EQ(record->Power3, 6);
    EXPECT_EQ(record->Symmetric3, 0);
    // Ready for the next line: balanced again, power and cos phi free.
    EXPECT_TRUE(Dan1->RadioButton1->isChecked());
    EXPECT_TRUE(Dan1->Edit2->isEnabled());
    EXPECT_TRUE(Dan1->Edit1->isEnabled());
}

// Three conductors: 1.5 and 2.5 kW give "4"; "Симметричная" frees the two fields again.
TEST_F(UnbalancedLoadTest, TwoPhases) {
    OpenGroupWindow();
    Entry entry;
    entry.conductors = "3";
    entry.table = kCable3;
    Fill(entry);
    responder_.ExpectModal("TNotSimmetr_2F", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Несимметричная нагрузка две фазы плюс ноль");
        EXPECT_EQ(dialog.size(), QSize(188, 184));
        const TNotSimmetr_2F& d = *NotSimmetr_2F;
        Enter(dialog, {d.Edit1, d.Edit2}, {d.Edit3, d.Edit4},
              {{"1,5", "2,5"}, {"1", "0,5"}, nullptr});
        return platform::mrNone;
    });
    Click(*Dan1->RadioButton2);
    responder_.VerifyDone();
    EXPECT_EQ(Dan1->Edit2->text().toStdString(), "4");
    EXPECT_FALSE(Dan1->Edit2->isEnabled());

    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    const TFasaGrup2d* record = TwoPhaseRecord("Гр1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->PartPowers, (std::vector<long double>{1.5, 2.5}));
    EXPECT_EQ(record->PartCosPhi, (std::vector<double>{1, 0.5}));
    EXPECT_EQ(record->Symmetric2, 0);

    // The next line: the dialog shows what was entered last.
    responder_.ExpectModal("TNotSimmetr_2F", [](QDialog& dialog) {
        EXPECT_EQ(NotSimmetr_2F->Edit1->text().toStdString(), "1,5");
        EXPECT_EQ(NotSimmetr_2F->Edit4->text().toStdString(), "0,5");
        QTest::mouseClick(NotSimmetr_2F->Button1, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), mrOk);
        return platform::mrNone;
    });
    Click(*Dan1->RadioButton2);
    responder_.VerifyDone();
}

// Balanced lines: 2.2 kW on three conductors is two halves of 1.1 kW at the line's cos phi,
// 3 kW on four is three thirds of 1 kW.
TEST_F(GroupDialogTest, BalancedPhaseRecords) {
    OpenGroupWindow();
    Entry two;
    two.conductors = "3";
    two.table = kCable3;
    two.cosPhi = "0,9";
    Fill(two);
    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    Entry three;
    three.conductors = "4";
    three.table = kCable4;
    three.power = "3";
    three.name = "Гр2";
    three.cable = "К2";
    EnterLine(three);

    const TFasaGrup2d* halves = TwoPhaseRecord("Гр1");
    ASSERT_NE(halves, nullptr);
    EXPECT_EQ(halves->PartPowers, (std::vector<long double>{1.1, 1.1}));
    EXPECT_EQ(halves->PartCosPhi, (std::vector<double>{0.9, 0.9}));
    EXPECT_EQ(halves->Symmetric2, 1);
    const TFasaGrup3d* thirds = ThreePhaseRecord("Гр2");
    ASSERT_NE(thirds, nullptr);
    EXPECT_EQ(thirds->PhasePowers, (std::vector<long double>{1, 1, 1}));
    EXPECT_EQ(thirds->PhaseCosPhi, (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(thirds->Symmetric3, 1);
    // The base levels of a phase record keep the fresh record's group name.
    EXPECT_EQ(thirds->GroupName, "0");
    EXPECT_EQ(thirds->GroupName3, "Гр2");
}

// A line refused at its input checks leaves "Несимметричная" chosen with the power of its
// per-phase entries. Changed to three conductors, the line is the two-phase dialog's, whose
// entries were never confirmed: the input checks refuse them as its "Ok" does, and with entries
// there the power is their sum again.
TEST_F(UnbalancedLoadTest, AnotherConductorCountChecksItsOwnPhaseEntries) {
    OpenGroupWindow();
    Entry entry;
    entry.conductors = "4";
    entry.table = kCable4;
    entry.name = "";
    Fill(entry);
    responder_.ExpectModal("TNotSimmetr_3F", [](QDialog& dialog) {
        const TNotSimmetr_3F& d = *NotSimmetr_3F;
        Enter(dialog, {d.Edit1, d.Edit2, d.Edit3}, {d.Edit4, d.Edit5, d.Edit6},
              {{"1", "2", "3"}, {"1", "1", "1"}, nullptr});
        return platform::mrNone;
    });
    Click(*Dan1->RadioButton2);
    responder_.ExpectMessage("Введите название группы.", kCaption, mrOk);
    Apply();
    ASSERT_TRUE(Dan1->RadioButton2->isChecked());
    ASSERT_EQ(Dan1->Edit2->text().toStdString(), "6");

    // From "4" one step up to "3" (through "2" the load would be balanced again).
    Dan1->ComboBox1->setFocus();
    QTest::keyClick(Dan1->ComboBox1, Qt::Key_Up);
    ASSERT_EQ(Dan1->ComboBox1->currentText().toStdString(), "3");
    Choose(*Dan1->ComboBox3, "В воздухе");
    Choose(*Dan1->ComboBox4, kCable3);
    Type(*Dan1->Edit6, "Гр1");
    ASSERT_TRUE(Dan1->RadioButton2->isChecked());
    ASSERT_TRUE(NotSimmetr_2F->Edit1->text().isEmpty());
    responder_.ExpectMessage(kEnterPower, kCaption, mrOk);
    Apply();
    responder_.VerifyDone();
    EXPECT_TRUE(NamesOf(*panel).empty());
    EXPECT_TRUE(Dan1->isVisible());

    // Entries made in the two-phase dialog before: 1.5 + 2.5 kW.
    Type(*NotSimmetr_2F->Edit1, "1,5");
    Type(*NotSimmetr_2F->Edit2, "2,5");
    ExpectBreakerDialogs(kNewProjectBreakers);
    Apply();
    responder_.VerifyDone();
    const TFasaGrup2d* record = TwoPhaseRecord("Гр1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->PartPowers, (std::vector<long double>{1.5, 2.5}));
    EXPECT_EQ(record->Power2, 4);
    ASSERT_NE(SchemeRecord("Гр1"), nullptr);
    EXPECT_EQ(SchemeRecord("Гр1")->Power, 4);
    ExpectShown({{"Введите название группы.", kCaption, MsgIcon::Warning},
                 {kEnterPower, kCaption, MsgIcon::Warning}});
}
