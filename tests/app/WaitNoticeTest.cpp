#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

#include "AppFixture.h"
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "groups/InsertAvtomat.h"
#include "platform/Messages.h"

namespace {
void ExpectCentredOn(const QRect& area) {
    const QPoint offset = DialogForm->frameGeometry().center() - area.center();
    EXPECT_LE(std::abs(offset.x()), 1) << "notice at " << DialogForm->frameGeometry().x();
    EXPECT_LE(std::abs(offset.y()), 1) << "notice at " << DialogForm->frameGeometry().y();
}
}  // namespace

using WaitNoticeTest = AppFixture;

TEST_F(WaitNoticeTest, ShowsItsTextInFullAndInNavy) {
    ASSERT_NE(DialogForm, nullptr);
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(DialogForm->windowTitle().toStdString(), "Пожалуйста, подождите");
    EXPECT_EQ(DialogForm->Label1->text().toStdString(), "Пожалуйста, подождите.");
    EXPECT_EQ(DialogForm->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    ShowWaitNotice(Form1);
    EXPECT_TRUE(DialogForm->isVisible());
    EXPECT_GE(DialogForm->Label1->width(), DialogForm->Label1->sizeHint().width());
    EXPECT_GE(DialogForm->Label1->height(), DialogForm->Label1->sizeHint().height());
    CloseWaitNotice();
    EXPECT_FALSE(DialogForm->isVisible());
    CloseWaitNotice();  // closing a closed notice does nothing
    EXPECT_FALSE(DialogForm->isVisible());
}

TEST_F(WaitNoticeTest, IsCentredOnTheMainWindowWhereverItWasMoved) {
    const QRect places[] = {
        {100, 80, 600, 400},
        {420, 300, 500, 300},  // moved and resized
        {-60, 10, 701, 501},   // partly off the screen, odd sizes
    };
    for (const QRect& place : places) {
        SCOPED_TRACE(place.x());
        Form1->setGeometry(place);
        ShowWaitNotice(Form1);
        ExpectCentredOn(Form1->frameGeometry());
        CloseWaitNotice();
    }
}

TEST_F(WaitNoticeTest, ACallerInsideTheMainWindowCentresItOnTheWholeWindow) {
    Form1->setGeometry(200, 150, 640, 480);
    QWidget* inner = new QWidget(Form1);
    inner->setGeometry(0, 0, 50, 50);
    ShowWaitNotice(inner);
    ExpectCentredOn(Form1->frameGeometry());
    CloseWaitNotice();
    delete inner;
}

TEST_F(WaitNoticeTest, WithoutAWindowItIsCentredOnTheScreen) {
    ShowWaitNotice(nullptr);
    ExpectCentredOn(QGuiApplication::primaryScreen()->availableGeometry());
    CloseWaitNotice();
}

// The program does nothing while a modal window or a message box waits for the user's answer:
// the notice steps aside for the question, also for one asked inside another, and comes back,
// centred as before, when the work goes on. A notice closed meanwhile, or none shown, stays
// closed.
TEST_F(WaitNoticeTest, StepsAsideWhileTheUserIsAsked) {
    Form1->setGeometry(200, 150, 640, 480);
    ShowWaitNotice(Form1);
    responder_.ExpectModal("TInsertAvtomat", [](QDialog&) {
        EXPECT_FALSE(DialogForm->isVisible());
        platform::MessageBox("Установите автомат.", "Предупреждение.", platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
        EXPECT_FALSE(DialogForm->isVisible());
        return platform::mrOk;
    });
    responder_.ExpectMessage("Установите автомат.", "Предупреждение.", platform::mrOk);
    platform::ShowModal(*InsertAvtomat);
    EXPECT_TRUE(DialogForm->isVisible());
    ExpectCentredOn(Form1->frameGeometry());

    responder_.ExpectModal("TInsertAvtomat", [](QDialog&) {
        CloseWaitNotice();
        return platform::mrOk;
    });
    platform::ShowModal(*InsertAvtomat);
    EXPECT_FALSE(DialogForm->isVisible());

    responder_.ExpectMessage("Готово", platform::mrOk);
    platform::MessageBox("Готово", "", platform::MsgButtons::Ok, platform::MsgIcon::None);
    EXPECT_FALSE(DialogForm->isVisible());
    responder_.VerifyDone();
}
