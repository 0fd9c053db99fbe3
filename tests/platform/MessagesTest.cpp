#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "ScreenCapture.h"
#include "ScriptedResponder.h"
#include "platform/Events.h"
#include "platform/Messages.h"

using namespace platform;

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override { SetResponder(&responder_); }
    void TearDown() override {
        SetResponder(nullptr);
        responder_.VerifyDone();
    }
    ScriptedResponder responder_;
};

TEST_F(MessagesTest, ScriptAnswersMessagesAndModalRunsInOrder) {
    QDialog dialog;
    responder_.ExpectMessage("Сохранить изменения в файле?", "Подтверждение.", mrCancel);
    responder_.ExpectModal("QDialog", [](QDialog& d) {
        d.done(mrOk);  // the window's own button handler closes it
        return mrNone;
    });
    responder_.ExpectMessage("Готово", mrOk);

    EXPECT_EQ(MessageBox("Сохранить изменения в файле?", "Подтверждение.", MsgButtons::YesNoCancel,
                         MsgIcon::Question),
              mrCancel);
    EXPECT_EQ(ShowModal(dialog), mrOk);
    EXPECT_EQ(MessageBox("Готово", "", MsgButtons::Ok, MsgIcon::Information), mrOk);

    const auto& log = responder_.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].message.icon, MsgIcon::Question);
    EXPECT_EQ(log[0].message.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(log[1].window, "QDialog");
    EXPECT_EQ(log[1].answer, mrOk);
}

TEST_F(MessagesTest, ModalWindowClosedWithoutChoiceCountsAsCancel) {
    QDialog dialog;
    responder_.ExpectModal("QDialog", [](QDialog&) { return mrNone; });
    EXPECT_EQ(ShowModal(dialog), mrCancel);
}

TEST_F(MessagesTest, UnexpectedOrMismatchedMessageFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(MessageBox("Неожиданно", "Предупреждение."), "Unexpected message");
    responder_.ExpectMessage("Текст", "Предупреждение.", mrOk);
    EXPECT_NONFATAL_FAILURE(MessageBox("Текст", "Предупреждение"), "Unexpected message");
    EXPECT_NONFATAL_FAILURE(responder_.VerifyDone(), "never appeared");
}

TEST_F(MessagesTest, EscapedExceptionIsShownWithTheApplicationTitle) {
    responder_.ExpectMessage("деление на ноль", "Veltranovaplanir", mrOk);
    responder_.ExpectMessage("", "Veltranovaplanir", mrOk);
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("деление на ноль"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));  // not an exception class: empty message
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_EQ(responder_.Messages()[0].icon, MsgIcon::Error);
}

TEST_F(MessagesTest, HandlerExceptionDoesNotEscapeTheConnection) {
    struct Receiver : QObject {
        int runs = 0;
        void Button1Click() {
            ++runs;
            throw std::runtime_error("сбой");
        }
    } receiver;
    QPushButton button;
    OnClick(&button, &receiver, &Receiver::Button1Click);
    responder_.ExpectMessage("сбой", "Veltranovaplanir", mrOk);
    button.click();
    EXPECT_EQ(receiver.runs, 1);
}

TEST_F(MessagesTest, TerminateIsRecordedNotExecuted) {
    Terminate();
    EXPECT_TRUE(responder_.TerminateRequested());
}

// Without a responder the real box appears; pressing its buttons gives the classic answers.
TEST(RealMessageBox, ButtonsGiveTheirAnswers) {
    struct Case {
        MsgButtons buttons;
        const char* press;  // nullptr: close the box with Escape
        int expected;
    };
    const Case cases[] = {
        {MsgButtons::YesNoCancel, "Нет", mrNo},
        {MsgButtons::YesNoCancel, "Да", mrYes},
        {MsgButtons::YesNoCancel, nullptr, mrCancel},
        {MsgButtons::YesNo, nullptr, mrNo},
        {MsgButtons::Ok, "OK", mrOk},
    };
    for (const Case& c : cases) {
        QTimer::singleShot(0, [&c] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            if (!c.press) {
                box->reject();
                return;
            }
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QString::fromUtf8(c.press)) b->click();
            }
        });
        EXPECT_EQ(MessageBox("Вопрос", "Подтверждение.", c.buttons, MsgIcon::Question), c.expected)
            << (c.press ? c.press : "Escape");
    }
}

// While a window that stays on top is shown, a message box and a modal window stay on top for
// their run (else they would open beneath it, unseen, with every other window blocked); a
// modal window's own flags are as before once it is closed.
TEST(RealMessageBox, ModalWindowsOpenAboveAWindowThatStaysOnTop) {
    QDialog journal;
    journal.setWindowFlag(Qt::WindowStaysOnTopHint);
    QDialog chooser;
    const Qt::WindowFlags chooserFlags = chooser.windowFlags();
    for (const bool staying : {false, true}) {
        SCOPED_TRACE(staying ? "a window on top shown" : "none shown");
        journal.setVisible(staying);
        bool boxOnTop = !staying;
        QTimer::singleShot(0, [&boxOnTop] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            boxOnTop = (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
            qobject_cast<QDialog*>(box)->reject();
        });
        MessageBox("Текст", "", MsgButtons::Ok, MsgIcon::None);
        EXPECT_EQ(boxOnTop, staying);

        bool chooserOnTop = !staying;
        QTimer::singleShot(0, [&] {
            chooserOnTop = (chooser.windowFlags() & Qt::WindowStaysOnTopHint) != 0;
            chooser.accept();
        });
        EXPECT_EQ(ShowModal(chooser), mrOk);
        EXPECT_EQ(chooserOnTop, staying);
        EXPECT_EQ(chooser.windowFlags(), chooserFlags);
    }
}

// While a modal window runs it offers no minimise button, nor maximise when its size is fixed:
// minimised, it would leave nothing on the screen to answer while every other window takes no
// input. A window manager that minimises it anyway (some offer minimise on every dialog) sees it
// shown again at once. Once it is closed its own hints are back.
TEST(RealModalRun, OffersNoMinimiseAndComesBackWhenMinimised) {
    const Qt::WindowFlags buttons = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    const struct {
        const char* name;
        Qt::WindowFlags flags;  // none: the dialog's own
        bool fixedSize;
        bool maximise;  // while it runs
    } cases[] = {
        {"a dialog", {}, false, false},
        {"a dialog of fixed size", {}, true, false},
        // A plain window gets every frame button from the platform unless told otherwise.
        {"a plain window", Qt::Window, false, true},
        {"a plain window of fixed size", Qt::Window, true, false},
        {"a dialog with every button", buttons, false, true},
        {"a dialog of fixed size with every button", buttons, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDialog dialog;
        if (c.flags) dialog.setWindowFlags(c.flags);
        if (c.fixedSize) dialog.setFixedSize(200, 100);
        const Qt::WindowFlags own = dialog.windowFlags();
        Qt::WindowFlags running;
        bool minimised = true;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
            running = dialog.windowFlags();
            dialog.setWindowState(Qt::WindowMinimized);
            QCoreApplication::processEvents();
            minimised = dialog.isMinimized();
            shown = dialog.isVisible();
            dialog.accept();
        });
        EXPECT_EQ(ShowModal(dialog), mrOk);
        EXPECT_FALSE(running & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ((running & Qt::WindowMaximizeButtonHint) != 0, c.maximise);
        EXPECT_TRUE(running & Qt::WindowTitleHint);
        EXPECT_FALSE(minimised);
        EXPECT_TRUE(shown);
        EXPECT_EQ(dialog.windowFlags(), own);
    }

    // A message box the same way.
    Qt::WindowFlags box;
    bool minimised = true;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        box = shown->windowFlags();
        shown->setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        minimised = shown->isMinimized();
        qobject_cast<QDialog*>(shown)->reject();
    });
    MessageBox("Текст", "Предупреждение", MsgButtons::Ok, MsgIcon::None);
    EXPECT_FALSE(box & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(minimised);
}

// Whoever waits with the user is told when the outermost modal run starts waiting for an answer
// and when it ends; a message box inside a modal window tells nothing more.
TEST_F(MessagesTest, TheWaitForTheUserIsToldOnce) {
    std::vector<bool> told;
    SetModalWaitObserver([&told](bool waiting) { told.push_back(waiting); });
    QDialog dialog;
    responder_.ExpectModal("QDialog", [&told](QDialog&) {
        EXPECT_EQ(told, std::vector<bool>{true});
        MessageBox("Готово", "", MsgButtons::Ok, MsgIcon::Information);
        EXPECT_EQ(told, std::vector<bool>{true});
        return mrOk;
    });
    responder_.ExpectMessage("Готово", mrOk);
    responder_.ExpectMessage("Готово", mrOk);
    ShowModal(dialog);
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    MessageBox("Готово", "", MsgButtons::Ok, MsgIcon::Information);
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
    SetModalWaitObserver({});
    responder_.ExpectModal("QDialog", [](QDialog&) { return mrOk; });
    ShowModal(dialog);
    EXPECT_EQ(told.size(), 4u);
}

// A window manager writes the caption in a bold title font beside the window's icon and its
// three buttons: a box narrower than that shows the caption cut ("Предуп... дение."). Openbox's
// Clearlooks theme, writing "Предупреждение." (128 px wide, 14 px high in the bold title font),
// needs a box of 230 px: the caption and seven and a half times its height. Every box leaves that
// room; on a display with a window manager the boxes are also captured for a look when
// VELTRANOVA_SCREENSHOTS names a folder. A box of an empty caption shows the program's title
// there, which it leaves room for as well.
TEST(RealMessageBox, IsWideEnoughForItsCaption) {
    const QString testName = QCoreApplication::applicationName();
    SetApplicationTitle("Veltranovaplanir");
    EXPECT_EQ(QGuiApplication::applicationDisplayName().toStdString(), "Veltranovaplanir");
    struct Case {
        const char* name;
        const char* text;
        const char* caption;
        MsgButtons buttons;
        MsgIcon icon;
    };
    const Case cases[] = {
        {"short-text", "Введите длину трассы.", "Предупреждение.", MsgButtons::Ok,
         MsgIcon::Warning},
        {"no-icon", "Готово", "Предупреждение", MsgButtons::Ok, MsgIcon::None},
        {"save-question", "Сохранить изменения в файле?Untitled", "Veltranovaplanir 1.1",
         MsgButtons::YesNoCancel, MsgIcon::Warning},
        {"long-caption", "Нет", "Принципиальная схема питающей сети(Грщ. № 12). Предупреждение.",
         MsgButtons::Ok, MsgIcon::Warning},
        {"empty-caption", "Невозможно открыть файл. Файл перемещен или удален.", "", MsgButtons::Ok,
         MsgIcon::None},
        {"empty-caption-short", "Введите мощность.", "", MsgButtons::Ok, MsgIcon::None},
    };
    const std::string folder = ScreenshotFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString caption =
            *c.caption ? QString::fromUtf8(c.caption) : QString("Veltranovaplanir");
        QFont title = QApplication::font("QMdiSubWindowTitleBar");
        title.setBold(true);
        const QFontMetrics metrics(title);
        const int room = metrics.horizontalAdvance(caption) + 15 * metrics.height() / 2;
        int width = 0;
        int widthAvailable = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            width = box->width();
            widthAvailable = box->screen()->availableGeometry().width();
            if (!folder.empty())
                CaptureWindow(*box, folder, std::string("MessageBox-") + c.name + ".png");
            box->reject();
        });
        MessageBox(c.text, c.caption, c.buttons, c.icon);
        EXPECT_GE(width, std::min(room, widthAvailable));
        EXPECT_LE(width, widthAvailable);
    }
    QCoreApplication::setApplicationName(testName);
}
