// Help and the About box's mail link go through the desktop's opener, here a fake one: a small
// script that notes the URL it was given and ends with the status a real opener gives when it
// found an application for it (0) or not (3: no browser or mail program, 4: it failed). A
// failure is reported in a message box; an opener that keeps running does not hold the program.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <tuple>
#include <vector>

#include "AppFixture.h"
#include "FakeOpener.h"
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
        CopyFolder(std::string(PROGRAM_DATA_DIR) + "/Help", ProgramFile("Help"));
        Form1->show();
    }
    void TearDown() override {
        EXPECT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
        AppFixture::TearDown();
    }

    // A fake opener that runs `body` after noting its argument.
    void InstallOpener(const std::string& body) { opener_.Install(body); }
    std::string Path(const std::string& name) const { return opener_.Path(name); }
    // The URLs the opener was given.
    std::vector<std::string> Opened() const { return opener_.Opened(); }

    FakeOpener opener_;
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
    // The opener waits for a line on a pipe that the test holds open.
    OpenerGate gate(Path("gate"));
    ASSERT_TRUE(gate.IsOpen());
    InstallOpener("read line < '" + gate.Path() + "'\nexit 0");
    ClickHelpButton();
    // Back in the program while the opener still waits.
    EXPECT_FALSE(platform::WaitForShellOpeners(0));
    EXPECT_TRUE(responder_.Log().empty());
    // The browser is closed.
    EXPECT_TRUE(gate.Release());
    ASSERT_TRUE(platform::WaitForShellOpeners(kOpenerLimitMs));
    EXPECT_TRUE(responder_.Log().empty());
}
