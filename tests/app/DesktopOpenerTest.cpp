// Help and the About box's mail link go through the desktop's opener, here a fake one: a small
// script that notes the URL it was given and ends with the status a real opener gives when it
// found an application for it (0) or not (3: no browser or mail program, 4: it failed). A
// failure is reported in a message box; an opener that keeps running does not hold the program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <tuple>
#include <vector>

#include "AppFixture.h"
#include "MainWindowFixture.h"
#include "app/About.h"
#include "app/Mainform.h"
#include "platform/Help.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

namespace {

const std::string kMailto = "mailto:support@veltranovaplanir.ru";
const std::string kNoBrowser =
    "Не удалось открыть справку: на компьютере не найден браузер или он не запустился.\nФайл "
    "справки: ";
const std::string kNoMailProgram =
    "Не удалось открыть почтовую программу: она не установлена или не запустилась.\nАдрес для "
    "писем: support@veltranovaplanir.ru";
// The generous limit on waiting for a fake opener that has already been told to end.
constexpr int kOpenerLimitMs = 30000;

void ClickHelpButton() {
    ClickToolbarButton(Form1->ToolButton9);
}

void ClickMailLink() {
    AboutBox->show();
    QTest::mouseClick(AboutBox->Label1, Qt::LeftButton);
}

}  // namespace

class DesktopOpener : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(openerDir_.isValid());
        CopyFolder(std::string(PROGRAM_DATA_DIR) + "/Help", ProgramFile("Help"));
        Form1->show();
    }
    void TearDown() override {
        EXPECT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
        platform::SetShellOpener("");
        AppFixture::TearDown();
    }

    // A fake opener that runs `body` after noting its argument.
    void InstallOpener(const std::string& body) {
        const std::string script =
            "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + Path("opened") + "'\n" + body + "\n";
        QFile file(QString::fromStdString(Path("xdg-open")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script.c_str());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        platform::SetShellOpener(Path("xdg-open"));
    }
    std::string Path(const std::string& name) const {
        return openerDir_.filePath(QString::fromStdString(name)).toStdString();
    }
    // The URLs the opener was given.
    std::vector<std::string> Opened() const {
        QFile file(QString::fromStdString(Path("opened")));
        std::vector<std::string> urls;
        if (!file.open(QIODevice::ReadOnly)) return urls;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.isEmpty()) urls.push_back(line.toStdString());
        return urls;
    }

    QTemporaryDir openerDir_;
};

// What the user clicks: the help button or the mail link.
struct Link {
    const char* what;
    void (*click)();
    bool help;
};

// How the fake opener ends.
struct Ending {
    const char* what;
    const char* body;  // what it does after noting the URL
    bool reported;
};

class OpenerEnding : public DesktopOpener,
                     public ::testing::WithParamInterface<std::tuple<Link, Ending>> {};

TEST_P(OpenerEnding, IsReportedOnlyWhenNothingCouldOpenTheLink) {
    const auto& [link, ending] = GetParam();
    InstallOpener(ending.body);
    if (ending.reported)
        responder_.ExpectMessage(
            link.help ? kNoBrowser + ProgramFile("Help/index.html") : kNoMailProgram,
            "Предупреждение.", platform::mrOk);
    link.click();
    ASSERT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
    EXPECT_EQ(Opened(), std::vector<std::string>{link.help ? platform::HelpUrl(0) : kMailto});
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, OpenerEnding,
    ::testing::Combine(::testing::Values(Link{"help", ClickHelpButton, true},
                                         Link{"mail", ClickMailLink, false}),
                       ::testing::Values(Ending{"taken", "exit 0", false},
                                         Ending{"no_application", "exit 3", true},
                                         Ending{"application_failed", "exit 4", true},
                                         Ending{"opener_crashed", "kill -9 $$", true})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).what) + "_" + std::get<1>(info.param).what;
    });

TEST_F(DesktopOpener, ADesktopWithoutAnOpenerIsReported) {
    platform::SetShellOpener(Path("no-such-opener"));
    responder_.ExpectMessage(kNoBrowser + ProgramFile("Help/index.html"), "Предупреждение.",
                             platform::mrOk);
    responder_.ExpectMessage(kNoMailProgram, "Предупреждение.", platform::mrOk);
    ClickHelpButton();
    ASSERT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
    ClickMailLink();
    ASSERT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
}

// Some desktops' openers run the browser in the foreground and end only when it is closed: the
// program goes on meanwhile, and a browser closed normally is no failure.
TEST_F(DesktopOpener, AnOpenerThatKeepsRunningDoesNotHoldTheProgram) {
    // The opener waits for a line on a pipe that the test holds open (reading and writing, so
    // that no open blocks).
    const std::string gate = Path("gate");
    ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
    const int pipe = open(gate.c_str(), O_RDWR);
    ASSERT_GE(pipe, 0);
    InstallOpener("read line < '" + gate + "'\nexit 0");
    ClickHelpButton();
    // Back in the program while the opener still waits.
    EXPECT_FALSE(platform::WaitForShellOpeners(0));
    EXPECT_TRUE(responder_.Log().empty());
    // The browser is closed.
    EXPECT_EQ(write(pipe, "closed\n", 7), 7);
    ASSERT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
    close(pipe);
    EXPECT_TRUE(responder_.Log().empty());
}
