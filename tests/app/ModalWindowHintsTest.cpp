// While a window holds the program modal its frame offers no minimise button, and no maximise
// button when its size is fixed: minimised, a modal window leaves nothing on the screen to answer
// while every other window takes no input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>

#include "AppFixture.h"
#include "platform/Messages.h"

using ModalWindowHintsTest = AppFixture;

TEST_F(ModalWindowHintsTest, NoDialogOffersMinimiseWhileItRuns) {
    int runs = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog == nullptr || dialog->parent() != nullptr) continue;
        const std::string name = dialog->metaObject()->className();
        SCOPED_TRACE(name);
        const bool fixedSize = dialog->minimumSize() == dialog->maximumSize();
        const Qt::WindowFlags own = dialog->windowFlags();
        responder_.ExpectModal(name, [fixedSize, &runs](QDialog& d) {
            const Qt::WindowFlags flags = d.windowFlags();
            EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
            if (fixedSize) {
                EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
            }
            ++runs;
            return platform::mrCancel;
        });
        platform::ShowModal(*dialog);
        responder_.VerifyDone();
        EXPECT_EQ(dialog->windowFlags(), own);
    }
    // The group line window, the breaker and unbalanced-load dialogs, the connection window, the
    // reference tables and the choosers among them.
    EXPECT_GE(runs, 15);
}
