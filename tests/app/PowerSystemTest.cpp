// The power-system dialog: its layout, the short-circuit power it accepts (only when every
// breaker still trips with it), "отмена", and the transformer chosen in its list.
#include <QTest>

#include "ChecksFixture.h"
#include "SelectionOnWindows.h"
#include "app/PowerSystem.h"
#include "editing/EditDialog.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

namespace {

using platform::mrOk;

constexpr char kNotAPower[] = "Введите мощность КЗ внешней энергосистемы.";
constexpr char kRaisePower[] = "Увеличите мощность короткого замыкания внешней энергосистемы.";

class PowerSystemTest : public OnTheWindows<ChecksTest> {
protected:
    // Opens the dialog as its callers do.
    void Open() {
        PowerSystem->Cancelled = false;
        PowerSystem->Edit1->setText(platform::Q(platform::FloatToStr(ProjectRoot->SupplyScPower)));
    }
    // Switchboard 1 with a load, fed by 20 m of 50 mm2 copper through a "B3" breaker; the path
    // of the fault at the switchboard.
    selection::FaultPath AddLoadedSwitchboard() {
        sw = AddSwitchboard(1);
        sw->SwitchboardFeederLength = 20;
        sw->SwitchboardSection = 50;
        sw->SwitchboardBreakerType = "B3";
        sw->SwitchboardInstalledPower = 10;
        selection::FaultPath path;
        path.switchboardLength = 20;
        path.switchboardSection = 50;
        path.switchboardMaterial = "Медь";
        return path;
    }
    // Types a power and presses "Применить".
    static void Apply(const char* text) {
        PowerSystem->Edit1->setText(QString::fromUtf8(text));
        PowerSystem->Button1Click();
    }
};

TEST_F(PowerSystemTest, Layout) {
    TPowerSystem& d = *PowerSystem;
    EXPECT_EQ(d.windowTitle().toStdString(), "Энергосистема");
    EXPECT_EQ(d.size(), QSize(496, 212));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.GroupBox1->title().toStdString(), "Параметры");
    EXPECT_EQ(d.Label1->text().toStdString(),
              "Мощность короткого замыкания внешней энергосистемы МВА");
    EXPECT_EQ(d.Label3->text().toStdString(), "Трансформатор");
    EXPECT_EQ(d.Button1->text().toStdString(), "Применить");
    EXPECT_EQ(d.Button2->text().toStdString(), "отмена");
    EXPECT_EQ(d.BitBtn1->text().toStdString(), "&Справка");
    EXPECT_EQ(d.BitBtn1->property("HelpContext").toInt(), 115);
    EXPECT_TRUE(d.ComboBox5->isEditable());
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
}

// Whatever is not a positive number is refused with one message; the dialog stays open.
TEST_F(PowerSystemTest, OnlyAPositiveNumberIsAccepted) {
    PowerSystem->ShortCircuitPowerMva = 180;
    Open();
    responder_.ExpectModal("TPowerSystem", [](QDialog& d) {
        for (const char* text : {"abc", "", "0", "-5"}) {
            Apply(text);
            EXPECT_EQ(d.result(), platform::mrNone) << text;
        }
        Apply("250,5");
        return platform::mrNone;
    });
    for (int i = 0; i < 4; ++i) responder_.ExpectMessage(kNotAPower, "Предупреждение.", mrOk);
    EXPECT_EQ(platform::ShowModal(*PowerSystem), mrOk);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_EQ(PowerSystem->ShortCircuitPowerMva, 250.5);
    // Taken into the project at once, which is refreshed as after a change.
    EXPECT_EQ(ProjectRoot->SupplyScPower, 250.5);
    EXPECT_FALSE(PowerSystem->Cancelled);
    // The dialog came first, its messages inside it.
    ASSERT_EQ(responder_.Log().size(), 5u);
    EXPECT_EQ(responder_.Log()[0].kind, ScriptedResponder::Event::Kind::Modal);

    Open();
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        Apply("120.25");  // a point serves as the separator too
        return platform::mrNone;
    });
    EXPECT_EQ(platform::ShowModal(*PowerSystem), mrOk);
    EXPECT_EQ(PowerSystem->ShortCircuitPowerMva, 120.25);
}

// A power with which a loaded switchboard's breaker would not trip is refused.
TEST_F(PowerSystemTest, PowerThatLeavesABreakerWithoutTripIsRefused) {
    const selection::FaultPath path = AddLoadedSwitchboard();
    sw->SwitchboardInputRating = 160;
    const auto currentWith = [&](double power) {
        ProjectRoot->SupplyScPower = power;
        const double current =
            selection::FaultCurrent(path, selection::TransformerRows()[1]);  // ТМ-400/10
        ProjectRoot->SupplyScPower = 180;
        return current;
    };
    ASSERT_LT(currentWith(1), 160 * 10.0);  // "B3" of 160 A, multiplicity 10
    ASSERT_GT(currentWith(180), 160 * 10.0);

    PowerSystem->ShortCircuitPowerMva = 180;
    Open();
    responder_.ExpectModal("TPowerSystem", [](QDialog& d) {
        Apply("1");
        EXPECT_EQ(d.result(), platform::mrNone);
        EXPECT_EQ(PowerSystem->ShortCircuitPowerMva, 180.0);
        Apply("180");
        return platform::mrNone;
    });
    responder_.ExpectMessage(kRaisePower, "Предупреждение", mrOk);
    EXPECT_EQ(platform::ShowModal(*PowerSystem), mrOk);
    EXPECT_EQ(PowerSystem->ShortCircuitPowerMva, 180.0);
    EXPECT_EQ(ProjectRoot->SupplyScPower, 180.0);
}

TEST_F(PowerSystemTest, CancelDropsTheSavedGroupLine) {
    Form3->SavedGroup = std::make_unique<TCxemaGrupd>();
    Form3->SavedPhaseRecords.Two = std::make_unique<TFasaGrup2d>();
    Form3->PanelCopies.resize(3);
    Form3->GroupEditMode = 1;
    Open();
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        PowerSystem->Button2Click();
        return platform::mrNone;
    });
    EXPECT_EQ(platform::ShowModal(*PowerSystem), platform::mrCancel);
    EXPECT_TRUE(PowerSystem->Cancelled);
    EXPECT_EQ(Form3->SavedGroup, nullptr);
    EXPECT_EQ(Form3->SavedPhaseRecords.Two, nullptr);
    EXPECT_TRUE(Form3->PanelCopies.empty());
    EXPECT_EQ(Form3->GroupEditMode, 0);
}

// The transformer the user picks or types in the list takes effect on "Применить" only, after the
// check with it; "отмена" leaves the project's transformer, and the list shows it again.
TEST_F(PowerSystemTest, TransformerChoiceWaitsForApply) {
    QComboBox& list = *PowerSystem->ComboBox5;
    for (const selection::TransformerRow& row : selection::TransformerRows())
        list.addItem(platform::Q(row.name));
    // Rows by power: ТМ-250/10, ТМ-400/10 (the project's), ТМ-630/10, ...
    const auto openOnProject = [&] {
        Open();
        list.setCurrentIndex(1);
        ASSERT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    };
    const auto clickButton = [](QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); };
    // Key by key into the edit box (Cyrillic letters carry their text, not a key code).
    const auto typeName = [&](const char* name) {
        list.lineEdit()->selectAll();
        for (const QChar letter : QString::fromUtf8(name))
            QTest::sendKeyEvent(QTest::Click, list.lineEdit(), Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
    };
    const struct {
        const char* what;
        std::function<void()> choose;
        QPushButton* button;
        int result;
        const char* transformer;
    } cases[] = {
        {"picked, cancelled", [&] { QTest::keyClick(&list, Qt::Key_Down); }, PowerSystem->Button2,
         platform::mrCancel, "ТМ-400/10"},
        {"typed, cancelled", [&] { typeName("ТМ-250/10"); }, PowerSystem->Button2,
         platform::mrCancel, "ТМ-400/10"},
        {"picked, applied", [&] { QTest::keyClick(&list, Qt::Key_Down); }, PowerSystem->Button1,
         mrOk, "ТМ-630/10"},
        {"typed, applied", [&] { typeName("ТМ-250/10"); }, PowerSystem->Button1, mrOk, "ТМ-250/10"},
        {"a name not in the base, applied", [&] { typeName("ТМ-9999"); }, PowerSystem->Button1,
         mrOk, "ТМ-400/10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectRoot->TransformerName = "ТМ-400/10";
        openOnProject();
        responder_.ExpectModal("TPowerSystem", [&](QDialog&) {
            c.choose();
            EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");  // not while choosing
            clickButton(c.button);
            return platform::mrNone;
        });
        EXPECT_EQ(platform::ShowModal(*PowerSystem), c.result);
        EXPECT_EQ(ProjectRoot->TransformerName, c.transformer);
        // The list shows the project's transformer, which the group dialog reads from it.
        EXPECT_EQ(list.currentText().toStdString(), c.transformer);
        EXPECT_EQ(PowerSystem->Cancelled, c.result == platform::mrCancel);
    }
}

// The power is checked with the transformer chosen: a refusal keeps the project's transformer.
TEST_F(PowerSystemTest, PowerIsCheckedWithTheTransformerChosen) {
    const selection::FaultPath path = AddLoadedSwitchboard();
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    const double small = selection::FaultCurrent(path, rows[0]);  // ТМ-250/10
    const double own = selection::FaultCurrent(path, rows[1]);    // ТМ-400/10
    ASSERT_LT(small, own);
    // "B3", multiplicity 10: trips with the project's transformer, not with the smaller one.
    sw->SwitchboardInputRating = (small + own) / 2 / 10;
    QComboBox& list = *PowerSystem->ComboBox5;
    for (const selection::TransformerRow& row : rows) list.addItem(platform::Q(row.name));
    list.setCurrentIndex(1);

    PowerSystem->ShortCircuitPowerMva = 180;
    Open();
    responder_.ExpectModal("TPowerSystem", [&](QDialog& d) {
        QTest::keyClick(&list, Qt::Key_Up);  // ТМ-250/10
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        EXPECT_EQ(d.result(), platform::mrNone);
        EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
        QTest::mouseClick(PowerSystem->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
    responder_.ExpectMessage(kRaisePower, "Предупреждение", mrOk);
    EXPECT_EQ(platform::ShowModal(*PowerSystem), platform::mrCancel);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    EXPECT_EQ(ProjectRoot->SupplyScPower, 180.0);
    EXPECT_EQ(list.currentText().toStdString(), "ТМ-400/10");
}

TEST_F(PowerSystemTest, TransformerChosenInTheList) {
    QComboBox& list = *PowerSystem->ComboBox5;
    for (const selection::TransformerRow& row : selection::TransformerRows())
        list.addItem(platform::Q(row.name));
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");  // filling the list takes nothing
    list.setCurrentIndex(2);
    PowerSystem->ComboBox5Change();
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-630/10");
    list.setEditText("ТМ-9999");  // typed, not in the base
    PowerSystem->ComboBox5Change();
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-630/10");
}

}  // namespace
