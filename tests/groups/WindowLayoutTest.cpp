// The group line window and its dialogs as they are shown: every caption and text whole, no
// control over another.
#include <gtest/gtest.h>

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
