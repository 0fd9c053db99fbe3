// The small dialogs of the group entry that are left only through their button: the breaker type
// dialog and the unbalanced-load dialogs. Escape, the close box and minimising leave them showing
// with nothing decided, so that no line goes on without its breaker type or its per-phase loads,
// and the program never waits for an answer out of sight.
#include <QTest>
#include <QWindow>
#include <functional>

#include "GroupsFixture.h"
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"

using platform::mrNone;
using platform::mrOk;
using platform::MsgIcon;

namespace {

struct WayOut {
    const char* how;
    std::function<void(QDialog&)> leave;
};

const WayOut kWaysOut[] = {
    {"Escape", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
    {"close box", [](QDialog& dialog) { dialog.windowHandle()->close(); }},
    // A window manager that offers minimise whatever the hints say.
    {"minimise",
     [](QDialog& dialog) {
         dialog.setWindowState(Qt::WindowMinimized);
         QCoreApplication::processEvents();
     }},
};

// The scripted modal run does not show the dialog: it is shown here as the real run shows it,
// and every way out but its button is tried on it. Its frame offers neither minimise nor
// maximise, and its size is fixed: a window manager offers maximise on any window that can grow.
void TryEveryWayOut(QDialog& dialog) {
    const std::string name = dialog.objectName().toStdString();
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint) << name;
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint) << name;
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << name;
    dialog.show();
    for (const WayOut& way : kWaysOut) {
        way.leave(dialog);
        EXPECT_TRUE(dialog.isVisible()) << name << ", " << way.how;
        EXPECT_FALSE(dialog.isMinimized()) << name << ", " << way.how;
        EXPECT_EQ(dialog.result(), mrNone) << name << ", " << way.how;
    }
}

}  // namespace

using ButtonOnlyDialogsTest = GroupDialogTest;

// 3 kW on 999 m of 1.5 mm2 wire: even on its largest 16 mm2 the line loses 3 x 999 / (12.8 x 16)
// = 14.63 %, a deviation of 230.94 x 0.8537 / 220 - 100 = -10.39 %. The group breaker dialog
// outlasts Escape and the close box; with its type chosen the line goes on to its checks and is
// refused for its voltage, and the project is as before.
TEST_F(ButtonOnlyDialogsTest, TheBreakerTypeIsChosenBeforeTheLineGoesOn) {
    Form1->ProjectSaved = 1;
    OpenGroupWindow();
    Entry entry;
    entry.power = "3";
    entry.length = "999";
    Fill(entry);
    responder_.ExpectModal("TInsertAvtomat", [](QDialog& dialog) {
        EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), "Группы");
        // The wait notice of the line's checks is out of the way of the question.
        EXPECT_FALSE(DialogForm->isVisible());
        TryEveryWayOut(dialog);
        const TCxemaGrupd* line = SchemeRecord("Гр1");
        EXPECT_TRUE(line && line->BreakerType.empty());
        InsertAvtomat->ComboBox1->setCurrentIndex(0);
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(line && line->BreakerType == "A1");
        return mrNone;
    });
    ExpectBreakerDialogs({"Щит", "Грщ", "Секция КТП"});
    const char refusal[] = "Падение напряжения на потребителе более 10 %,группа отменяется";
    responder_.ExpectMessage(refusal, "Предупреждение", mrOk);
    Apply();
    responder_.VerifyDone();
    ExpectShown({{refusal, "Предупреждение", MsgIcon::Warning}});
    EXPECT_EQ(SchemeRecord("Гр1"), nullptr);
    EXPECT_TRUE(NamesOf(*panel).empty());
    EXPECT_EQ(Form1->ProjectSaved, 1);
}

// The unbalanced-load dialogs keep their entries through Escape and the close box and are left
// by "Ok" with valid entries only.
TEST_F(ButtonOnlyDialogsTest, TheUnbalancedLoadIsConfirmedByOk) {
    OpenGroupWindow();
    const struct {
        const char* conductors;
        const char* table;
        const char* dialog;
        std::function<void()> enter;
        const char* total;
    } cases[] = {
        {"3", kCable3, "TNotSimmetr_2F",
         [] {
             Type(*NotSimmetr_2F->Edit1, "1");
             Type(*NotSimmetr_2F->Edit2, "2");
             QTest::mouseClick(NotSimmetr_2F->Button1, Qt::LeftButton);
         },
         "3"},
        {"4", kCable4, "TNotSimmetr_3F",
         [] {
             Type(*NotSimmetr_3F->Edit1, "1");
             Type(*NotSimmetr_3F->Edit2, "2");
             Type(*NotSimmetr_3F->Edit3, "4");
             QTest::mouseClick(NotSimmetr_3F->Button1, Qt::LeftButton);
         },
         "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        Entry entry;
        entry.conductors = c.conductors;
        entry.table = c.table;
        Fill(entry);
        responder_.ExpectModal(c.dialog, [&c](QDialog& dialog) {
            TryEveryWayOut(dialog);
            EXPECT_EQ(Dan1->Edit2->text().toStdString(), "2,2");
            c.enter();
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(dialog.result(), mrOk);
            return mrNone;
        });
        Click(*Dan1->RadioButton2);
        responder_.VerifyDone();
        EXPECT_EQ(Dan1->Edit2->text().toStdString(), c.total);
        Click(*Dan1->RadioButton1);
    }
}
