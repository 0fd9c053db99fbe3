#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "ShellRecorder.h"
#include "app/About.h"
#include "platform/Messages.h"

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kNavy(0, 0, 128);

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

void MoveOver(QWidget* widget) {
    const QPointF local(3, 3);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void Leave(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

const std::string kMailto = "mailto:support@veltranovaplanir.ru";

}  // namespace

class AboutBoxTest : public AppFixture {
protected:
    ShellRecorder shell_;
};

TEST_F(AboutBoxTest, ShowsProductVersionAndContacts) {
    ASSERT_NE(AboutBox, nullptr);
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_EQ(AboutBox->windowTitle().toStdString(), "О программе");
    EXPECT_EQ(AboutBox->ProductName->text().toStdString(), "Veltranovaplanir");
    EXPECT_EQ(AboutBox->Version->text().toStdString(), "Версия VP.3.2");
    EXPECT_EQ(AboutBox->Comments->text().toStdString(), "Контакты");
    EXPECT_EQ(AboutBox->Label2->text().toStdString(), "e-mail");
    EXPECT_EQ(AboutBox->Label1->text().toStdString(), "support@veltranovaplanir.ru");
    EXPECT_EQ(AboutBox->OKButton->text().toStdString(), "OK");
    EXPECT_EQ(TextColour(AboutBox->Label2), kNavy);
    EXPECT_EQ(TextColour(AboutBox->Label1), kGreen);
    EXPECT_EQ(AboutBox->Label1->cursor().shape(), Qt::PointingHandCursor);

    // Shown, no text is cut off.
    AboutBox->show();
    for (const QLabel* label : {AboutBox->ProductName, AboutBox->Version, AboutBox->Copyright,
                                AboutBox->Comments, AboutBox->Label2, AboutBox->Label1}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_GE(label->height(), label->sizeHint().height());
    }
    AboutBox->hide();
}

TEST_F(AboutBoxTest, AddressLinkColoursFollowTheMouseAndAClickWritesAMail) {
    AboutBox->show();
    QLabel* link = AboutBox->Label1;
    struct Step {
        const char* what;
        std::function<void()> act;
        QColor colour;
        std::size_t mails;  // mailto requests so far
    };
    const std::vector<Step> steps = {
        {"mouse over the address", [&] { MoveOver(link); }, kRed, 0},
        {"mouse leaves", [&] { Leave(link); }, kGreen, 0},
        {"right click opens nothing", [&] { QTest::mouseClick(link, Qt::RightButton); }, kGreen, 0},
        {"click", [&] { QTest::mouseClick(link, Qt::LeftButton); }, kRed, 1},
        {"still red after the click", [&] { MoveOver(link); }, kRed, 1},
        {"leaving after the click", [&] { Leave(link); }, kGreen, 1},
        {"second click", [&] { QTest::mouseClick(link, Qt::LeftButton); }, kRed, 2},
        {"OK turns it green", [&] { QTest::mouseClick(AboutBox->OKButton, Qt::LeftButton); },
         kGreen, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(TextColour(link), step.colour);
        EXPECT_EQ(shell_.urls.size(), step.mails);
    }
    for (const std::string& url : shell_.urls) EXPECT_EQ(url, kMailto);
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_EQ(AboutBox->result(), platform::mrOk);
}

TEST_F(AboutBoxTest, MailClientThatCannotStartIsReported) {
    shell_.answer = false;
    responder_.ExpectMessage(
        "Не удалось открыть почтовую программу: она не установлена или не запустилась.\nАдрес "
        "для писем: support@veltranovaplanir.ru",
        "Предупреждение.", platform::mrOk);
    AboutBox->Label1Click();
    EXPECT_EQ(shell_.urls, std::vector<std::string>{kMailto});
}

TEST_F(AboutBoxTest, IsCentredOnTheScreenEachTimeItIsShown) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* when : {"first show", "after being moved away"}) {
        SCOPED_TRACE(when);
        AboutBox->show();
        const QPoint offset = AboutBox->frameGeometry().center() - screen.center();
        EXPECT_LE(std::abs(offset.x()), 1);
        EXPECT_LE(std::abs(offset.y()), 1);
        AboutBox->move(5, 5);
        AboutBox->OKButtonClick();
    }
}

// The picture is read from the program folder when the window is made; anything but a good
// JPEG leaves the place empty without a message.
TEST_F(AboutBoxTest, PictureComesFromTheProgramFolder) {
    QFile shipped(QString(PROGRAM_DATA_DIR) + "/About.jpg");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray good = shipped.readAll();
    struct Case {
        const char* name;
        bool present;
        QByteArray bytes;
        bool shown;
    };
    const Case cases[] = {
        {"the shipped picture", true, good, true},
        {"no picture file", false, {}, false},
        {"truncated picture", true, good.left(good.size() / 2), false},
        {"not a JPEG at all", true, QByteArray("<html>not a picture</html>"), false},
    };
    const QString path = QString::fromStdString(ProgramFile(TAboutBox::PictureFile));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        if (c.present) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        TAboutBox box;
        const QPixmap picture = box.ProgramIcon->pixmap();
        EXPECT_EQ(!picture.isNull(), c.shown);
        if (c.shown) {
            EXPECT_EQ(picture.size(), QSize(128, 128));
        }
    }
}
