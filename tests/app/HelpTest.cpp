#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "ShellRecorder.h"
#include "platform/Help.h"
#include "platform/Messages.h"

namespace {

const std::string kHelpSource = std::string(PROGRAM_DATA_DIR) + "/Help";

// The help contexts of the windows, with the window that carries each.
const std::map<int, const char*> kWindowContexts = {
    {100, "main window"},
    {102, "switchboards and panels (Щиты)"},
    {103, "group lines"},
    {105, "cable current tables, help button"},
    {110, "calculation table window"},
    {115, "power system"},
    {1000, "breaker base, help button"},
    {1010, "transformer base, help button"},
    {1050, "reference base windows"},
};

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

// Help contexts set in the window layouts.
std::set<int> ContextsInForms() {
    std::set<int> contexts;
    const QString forms = QDir::cleanPath(QString(PROGRAM_DATA_DIR) + "/../forms");
    const QRegularExpression property(R"(name="HelpContext"[^>]*>\s*<number>(\d+)</number>)");
    QDirIterator it(forms, {"*.ui"}, QDir::Files);
    while (it.hasNext()) {
        const QString text = QString::fromStdString(ReadFile(it.next()));
        auto matches = property.globalMatch(text);
        while (matches.hasNext()) contexts.insert(matches.next().captured(1).toInt());
    }
    return contexts;
}

// Help contexts carried by the windows as created at start-up.
std::set<int> ContextsOnWindows() {
    std::set<int> contexts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        std::vector<QWidget*> widgets{window};
        for (QWidget* child : window->findChildren<QWidget*>()) widgets.push_back(child);
        for (const QWidget* widget : widgets) {
            const QVariant context = widget->property("HelpContext");
            if (context.isValid() && context.toInt() > 0) contexts.insert(context.toInt());
        }
    }
    return contexts;
}

}  // namespace

class HelpTest : public AppFixture {
protected:
    void InstallHelp() { CopyFolder(kHelpSource, ProgramFile("Help")); }
    std::string HelpPath() const { return ProgramFile("Help/index.html"); }

    ShellRecorder shell_;
};

TEST_F(HelpTest, UrlOfAContextPointsIntoTheHelpBesideTheProgram) {
    const std::string file = "file://" + programDir_.path().toStdString() + "/Help/index.html";
    const struct {
        int context;
        std::string url;
    } cases[] = {
        {0, file},
        {-1, file},
        {100, file + "#context-100"},
        {105, file + "#context-105"},
        {1050, file + "#context-1050"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context);
        EXPECT_EQ(platform::HelpUrl(c.context), c.url);
    }
    EXPECT_EQ(platform::HelpFilePath(), HelpPath());
}

TEST_F(HelpTest, ContentsOpenTheHelpFileInTheBrowser) {
    InstallHelp();
    platform::ShowHelpContents();
    EXPECT_EQ(shell_.urls, std::vector<std::string>{platform::HelpUrl(0)});
}

// Desktop launchers drop the "#section" of a file URL, so the browser is sent to a page that
// forwards it to the section.
TEST_F(HelpTest, AContextOpensAPageThatLeadsToItsSection) {
    InstallHelp();
    platform::ShowHelpContext(1010);
    ASSERT_EQ(shell_.urls.size(), 1u);
    const QUrl opened = QUrl::fromEncoded(QByteArray::fromStdString(shell_.urls[0]));
    ASSERT_TRUE(opened.isLocalFile());
    const std::string page = ReadFile(opened.toLocalFile());
    const std::string target = platform::HelpUrl(1010);
    EXPECT_NE(page.find("http-equiv=\"refresh\" content=\"0; url=" + target + "\""),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("href=\"" + target + "\""), std::string::npos) << page;

    platform::ShowHelpContext(0);  // no context: the contents
    ASSERT_EQ(shell_.urls.size(), 2u);
    EXPECT_EQ(shell_.urls[1], platform::HelpUrl(0));
}

TEST_F(HelpTest, AMissingHelpFileIsReportedAndNothingIsOpened) {
    const std::string message = "Файл справки не найден:\n" + HelpPath();
    responder_.ExpectMessage(message, "Предупреждение.", platform::mrOk);
    responder_.ExpectMessage(message, "Предупреждение.", platform::mrOk);
    platform::ShowHelpContents();
    platform::ShowHelpContext(103);
    EXPECT_TRUE(shell_.urls.empty());
    ASSERT_EQ(responder_.Messages().size(), 2u);
    EXPECT_EQ(responder_.Messages()[0].icon, platform::MsgIcon::Warning);
}

TEST_F(HelpTest, ABrowserThatCannotStartIsReported) {
    InstallHelp();
    shell_.answer = false;
    responder_.ExpectMessage(
        "Не удалось открыть справку: на компьютере не найден браузер или "
        "он не запустился.\nФайл справки: " +
            HelpPath(),
        "Предупреждение.", platform::mrOk);
    platform::ShowHelpContext(100);
}

// Every help context the windows use has its section in the help, and the help's own links and
// style sheet lead somewhere.
TEST_F(HelpTest, EveryHelpContextHasItsSection) {
    const std::string path = kHelpSource + "/index.html";
    pugi::xml_document html;
    const pugi::xml_parse_result parsed = html.load_file(path.c_str());
    ASSERT_TRUE(parsed) << "the help must be well-formed: " << parsed.description() << " at "
                        << parsed.offset;

    std::map<std::string, pugi::xml_node> ids;
    for (const pugi::xpath_node& node : html.select_nodes("//*[@id]")) {
        EXPECT_TRUE(ids.emplace(node.node().attribute("id").value(), node.node()).second)
            << "duplicate id " << node.node().attribute("id").value();
    }

    std::set<int> contexts = ContextsInForms();
    const std::set<int> onWindows = ContextsOnWindows();
    contexts.insert(onWindows.begin(), onWindows.end());
    for (const auto& [context, window] : kWindowContexts) contexts.insert(context);
    for (const int context : contexts) {
        SCOPED_TRACE(context);
        const auto found = ids.find(platform::HelpContextAnchor(context));
        ASSERT_NE(found, ids.end()) << "no section for help context " << context;
        EXPECT_STREQ(found->second.name(), "section");
        const pugi::xml_node heading = found->second.find_child([](const pugi::xml_node& n) {
            return std::string(n.name()) == "h2" || std::string(n.name()) == "h3";
        });
        EXPECT_FALSE(heading.empty()) << "section without a heading";
        EXPECT_FALSE(std::string(heading.text().get()).empty());
    }

    for (const pugi::xpath_node& link : html.select_nodes("//a[starts-with(@href, '#')]")) {
        const std::string target = link.node().attribute("href").value() + 1;
        EXPECT_TRUE(ids.count(target)) << "link to a missing section #" << target;
    }
    for (const pugi::xpath_node& sheet : html.select_nodes("//link[@rel='stylesheet']")) {
        EXPECT_TRUE(QFile::exists(QString::fromStdString(kHelpSource + "/") +
                                  sheet.node().attribute("href").value()));
    }
}
