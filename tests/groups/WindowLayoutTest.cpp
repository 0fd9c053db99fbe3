// The group line window and its dialogs as they are shown: every caption and text whole, no
// control over another.
#include <gtest/gtest.h>

#include <map>

#include "GroupsFixture.h"
#include "WindowChecks.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"

using WindowLayoutTest = GroupDialogTest;

TEST_F(WindowLayoutTest, EveryTextIsShownWhole) {
    OpenGroupWindow();
    Entry entry;
    entry.conductors = "4";
    entry.table = kCable4;
    Fill(entry);
    ExpectNothingCutOff(*Dan1);
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{NotSimmetr_2F, NotSimmetr_3F, InsertAvtomat}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        ExpectNothingCutOff(*dialog);
        dialog->hide();
    }
}

// The edit mode shows the entry layout without the panel row, its own two buttons in the places
// of "Применить" and "закрыть"; nothing else moves, nothing overlaps.
TEST_F(WindowLayoutTest, TheEditFaceKeepsTheEntryLayout) {
    AddFirstLine();
    OpenGroupWindow();
    std::map<std::string, QRect> entryLayout;
    for (const QWidget* control : Dan1->findChildren<QWidget*>())
        entryLayout[control->objectName().toStdString()] = control->geometry();
    const QSize entrySize = Dan1->size();
    Click(*Dan1->ok);

    OpenGroupEditor("Гр0");
    ExpectNothingCutOff(*Dan1);
    EXPECT_EQ(Dan1->size(), entrySize);
    EXPECT_EQ(Dan1->cancel->geometry(), entryLayout["sledychi"]);
    EXPECT_EQ(Dan1->Button1->geometry(), entryLayout["ok"]);
    for (const QWidget* control : Dan1->findChildren<QWidget*>()) {
        if (control == Dan1->cancel || control == Dan1->Button1 || !control->isVisible()) continue;
        const std::string name = control->objectName().toStdString();
        EXPECT_EQ(control->geometry(), entryLayout[name]) << name;
    }
    for (const QWidget* hidden : std::initializer_list<const QWidget*>{
             Dan1->ComboBox2, Dan1->Label2, Dan1->sledychi, Dan1->ok})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // Leaving the edit, the window takes new lines in the same layout again.
    Click(*Dan1->Button1);
    OpenGroupWindow();
    ExpectNothingCutOff(*Dan1);
}
