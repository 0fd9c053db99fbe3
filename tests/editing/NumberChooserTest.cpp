// The number chooser: one switchboard or panel number out of a list the caller fills.
#include <gtest/gtest.h>

#include <QTest>

#include "AppFixture.h"
#include "ConnectionFixture.h"
#include "WindowChecks.h"
#include "editing/NumberChooser.h"
#include "platform/Choices.h"

namespace {

using NumberChooser = AppFixture;

// Shows the chooser as its callers do, with `inChooser` as the user's part.
void Ask(ScriptedResponder& responder, const std::vector<std::string>& numbers,
         const std::function<void()>& inChooser) {
    platform::SetItems(*Form9->ComboBox1, numbers);
    Form9->setWindowTitle("Щит №");
    responder.ExpectModal("TForm9", [inChooser](QDialog& dialog) {
        dialog.show();
        inChooser();
        EXPECT_FALSE(dialog.isVisible());
        return platform::mrNone;
    });
    platform::ShowModal(*Form9);
}

TEST_F(NumberChooser, IsAsDesigned) {
    EXPECT_EQ(Form9->windowTitle().toStdString(), "Form9");
    EXPECT_EQ(Form9->size(), QSize(213, 138));
    EXPECT_EQ(Form9->minimumSize(), QSize(213, 138));
    EXPECT_EQ(Form9->maximumSize(), QSize(213, 138));
    EXPECT_FALSE(Form9->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Form9->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(Form9->ComboBox1->geometry().topLeft(), QPoint(32, 32));
    EXPECT_EQ(Form9->ComboBox1->width(), 145);
    EXPECT_TRUE(Form9->ComboBox1->isEditable());
    EXPECT_EQ(Form9->Button1->geometry(), QRect(64, 72, 75, 25));
    EXPECT_EQ(Form9->Button1->text().toStdString(), "OK");
    // "OK" comes first in the tab order, the list after it.
    for (QWidget* w = Form9->Button1->nextInFocusChain(); w != Form9->Button1;
         w = w->nextInFocusChain())
        fprintf(stderr, "chain %s %s\n", w->metaObject()->className(),
                w->objectName().toUtf8().data());
    EXPECT_TRUE(Form9->Button1->nextInFocusChain() == Form9->ComboBox1 ||
                Form9->ComboBox1->isAncestorOf(Form9->Button1->nextInFocusChain()));
    EXPECT_EQ(Form9->ChosenNumber, 0);
    Form9->show();
    ExpectNothingCutOff(*Form9);
    Form9->hide();
}

TEST_F(NumberChooser, KeepsTheNumberChosenUntilAnotherIsChosen) {
    Ask(responder_, {"3", "12", "40"}, [] {
        Choose(Form9->ComboBox1, "12");
        Click(Form9->Button1);
    });
    EXPECT_TRUE(Form9->HasChoice());
    EXPECT_EQ(Form9->ChosenNumber, 12);

    // Nothing chosen: OK closes, the number stays, the caller finds no choice.
    Ask(responder_, {"3", "12", "40"}, [] { Click(Form9->Button1); });
    EXPECT_FALSE(Form9->HasChoice());
    EXPECT_EQ(Form9->ChosenNumber, 12);

    // An empty list.
    Ask(responder_, {}, [] { Click(Form9->Button1); });
    EXPECT_FALSE(Form9->HasChoice());
    EXPECT_EQ(Form9->ChosenNumber, 12);
}

// What the user types is no choice, and no error either (the responder fails on any message).
TEST_F(NumberChooser, TypedTextChoosesNothing) {
    for (const std::string typed : {"abc", "40"}) {
        Ask(responder_, {"3", "12", "40"}, [&typed] {
            Type(Form9->ComboBox1->lineEdit(), typed);
            Click(Form9->Button1);
        });
        EXPECT_FALSE(Form9->HasChoice()) << typed;
        EXPECT_EQ(Form9->ChosenNumber, 0) << typed;
    }
    // Picked, then typed over.
    Ask(responder_, {"3", "12", "40"}, [] {
        Choose(Form9->ComboBox1, "3");
        Type(Form9->ComboBox1->lineEdit(), "x");
        Click(Form9->Button1);
    });
    EXPECT_FALSE(Form9->HasChoice());
    EXPECT_EQ(Form9->ChosenNumber, 0);
}

// Escape closes it as no choice, even with an item picked.
TEST_F(NumberChooser, EscapeChoosesNothing) {
    Ask(responder_, {"3", "12"}, [] {
        Choose(Form9->ComboBox1, "3");
        QTest::keyClick(Form9, Qt::Key_Escape);
    });
    EXPECT_FALSE(Form9->HasChoice());
    EXPECT_EQ(Form9->ChosenNumber, 0);
}

}  // namespace
