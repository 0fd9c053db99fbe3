// The deviation limit dialog of the group-entry window: its layout, the limit typed into it and
// the cross-sections raised to meet it.
// The losses and deviations of the fixture project are worked in SectionRaisingFixture.h.
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "SectionRaisingFixture.h"
#include "SelectionOnWindows.h"
#include "app/Mainform.h"

namespace {

using platform::mrOk;

using DeviationDialogTest = OnTheWindows<SectionRaisingTest>;

TEST_F(DeviationDialogTest, DeviationDialogLayout) {
    QPushButton* button = dan().ShowDeviationDialog();
    ASSERT_NE(button, nullptr);
    QDialog& form = *dan().DeviationForm;
    EXPECT_EQ(form.windowTitle().toStdString(), "Отклонение напряжения %");
    EXPECT_EQ(form.size(), QSize(200, 150));
    EXPECT_EQ(form.minimumSize(), QSize(200, 150));
    EXPECT_EQ(dan().DeviationEdit->text().toStdString(), "-2,5");
    EXPECT_EQ(button->text().toStdString(), "Ok");
    EXPECT_EQ(dan().DeviationEdit->y(), 50);
    EXPECT_EQ(button->y(), 90);
    EXPECT_EQ(dan().DeviationEdit->x(), 100 - dan().DeviationEdit->width() / 2);
    EXPECT_EQ(button->x(), 100 - button->width() / 2);
    EXPECT_EQ(form.x(), Form1->width() / 2 - 100);
    // A second call makes a new dialog; the first one is gone.
    QPointer<QDialog> first = dan().DeviationForm;
    dan().ShowDeviationDialog();
    EXPECT_TRUE(first.isNull());
}

// A limit that is not a number is refused and the dialog stays; a positive limit counts as
// negative, with "." or "," as the separator.
TEST_F(DeviationDialogTest, LimitTypedInTheDialog) {
    QPushButton* button = dan().ShowDeviationDialog();
    responder_.ExpectModal("QDialog", [&](QDialog& d) {
        dan().DeviationEdit->setText("abc");
        button->click();
        EXPECT_EQ(d.result(), platform::mrNone);
        dan().DeviationEdit->setText("2.5");
        button->click();
        return platform::mrNone;
    });
    responder_.ExpectMessage("Введите допустимое отклонение напряжения.", "Предупреждение.", mrOk);
    EXPECT_EQ(platform::ShowModal(*dan().DeviationForm), mrOk);
    EXPECT_EQ(group->CrossSection, 16);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -0.14);
}

// The largest sections cannot reach the limit: every cable on the path takes its largest and
// the best deviation is reported.
TEST_F(DeviationDialogTest, LimitBeyondReachGivesTheLargestSections) {
    group->LineLength = 2000;
    panel->ThreePhaseGroups.First->LineLength3 = 2000;
    sw->SwitchboardSection = 95;
    panel->FeederSection = 70;
    QPushButton* button = dan().ShowDeviationDialog();
    responder_.ExpectModal("QDialog", [&](QDialog&) {
        dan().DeviationEdit->setText("-1");
        button->click();
        return platform::mrNone;
    });
    responder_.ExpectMessage("Макснмальное отклонение напряжения  -1,84%.", "", mrOk);
    platform::ShowModal(*dan().DeviationForm);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::None);
    EXPECT_EQ(group->CrossSection, 120);
    EXPECT_EQ(sw->SwitchboardSection, 120);
    EXPECT_EQ(panel->FeederSection, 120);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -1.84);
    EXPECT_EQ(sw->Panels.Cursor, panel);
}

}  // namespace
