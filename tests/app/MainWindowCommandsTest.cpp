// Every command of the main window reaches its handler, whichever way the user starts it: the
// main menu, the toolbar, the main window's pop-up menu or the scheme window's pop-up menu. Each
// route is triggered with the small project open and the command's own effect is looked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QTableWidget>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "app/About.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/AdjustmentProject.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/NumberChooser.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Help.h"
#include "platform/Image.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "app/PowerSystem.h"

namespace {

using platform::mrCancel;

constexpr char kQuestion[] = "Сохранить изменения в файле?";

// What a command is seen to do: `arrange` scripts the user's part before the route is
// triggered, `check` looks for the effect afterwards.
struct Effect {
    std::function<void(MainWindowTest&)> arrange;
    std::function<void(MainWindowTest&)> check;
};

// A menu item or button of the main window, or an item of the scheme window's pop-up menu.
struct Route {
    const char* name;
    QAction* Ui_TForm1::*main;
    QAction* Ui_TForm2::*scheme;
    const char* command;  // the effect looked for, by the main window's handler

    QAction* Item() const { return main != nullptr ? Form1->*main : Form2->*scheme; }
};

void PrintTo(const Route& route, std::ostream* out) {
    *out << route.name;
}

}  // namespace

class CommandRoutes : public MainWindowTest, public ::testing::WithParamInterface<Route> {
protected:
    using MainWindowTest::dialogs_;
    using MainWindowTest::responder_;
    using MainWindowTest::shell_;

    // A modal run of that window class, closed without a choice; `seen` looks at it first.
    void ExpectModalRun(const std::string& window, std::function<void(QDialog&)> seen = nullptr) {
        responder_.ExpectModal(window, [seen](QDialog& dialog) {
            if (seen) seen(dialog);
            return mrCancel;
        });
    }
    static void ExpectShown(QWidget* window, const std::string& caption) {
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle().toStdString(), caption);
    }

    Effect EffectOf(const std::string& command);

    std::string path_;
};

Effect CommandRoutes::EffectOf(const std::string& command) {
    auto none = [](MainWindowTest&) {};
    if (command == "New1Click")
        return {[this](MainWindowTest&) { ExpectModalRun("TShiti"); },
                [](MainWindowTest&) { EXPECT_EQ(Form1->SchemeCaption(), "Untitled"); }};
    if (command == "Open1Click")
        return {[this](MainWindowTest&) { AnswerFileDialog(""); },
                [this](MainWindowTest&) { EXPECT_EQ(dialogs_.size(), 1u); }};
    if (command == "Save1Click")
        return {[](MainWindowTest&) { Form1->ProjectSaved = 0; },
                [this](MainWindowTest&) {
                    EXPECT_EQ(Form1->ProjectSaved, 1);
                    EXPECT_TRUE(dialogs_.empty());
                }};
    if (command == "SaveAsClick")
        return {[this](MainWindowTest&) { AnswerFileDialog(""); },
                [this](MainWindowTest&) { EXPECT_EQ(dialogs_.size(), 1u); }};
    if (command == "Print1Click")
        // The scheme picture of one sheet, whatever document the preview shows.
        return {[this](MainWindowTest&) {
                    Form1->DocumentKind = CableJournalDocument;
                    Form1->PictureBitmap = std::make_unique<platform::TBitmap>();
                    Form1->PictureBitmap->SetSize(900, 1200);
                    Form1->SheetPageCount = 1;
                    ExpectModalRun("QPrintDialog", [](QDialog& dialog) {
                        EXPECT_EQ(static_cast<QPrintDialog&>(dialog).maxPage(), 1);
                    });
                },
                none};
    if (command == "Exit1Click" || command == "ToolButton8Click")
        // The save question of closing the main window; Cancel keeps everything.
        return {[this](MainWindowTest&) {
                    Form1->ProjectSaved = 0;
                    responder_.ExpectMessage(kQuestion + path_, "Veltranovaplanir 1.1", mrCancel);
                },
                [](MainWindowTest&) { EXPECT_NE(ProjectRoot, nullptr); }};
    if (command == "SchemeWindowExit")
        return {none, [](MainWindowTest&) {
                    EXPECT_EQ(ProjectRoot, nullptr);
                    EXPECT_FALSE(Form2->isVisible());
                }};
    if (command == "N59Click")
        return {[this](MainWindowTest&) { ExpectModalRun("TAdjustmentProjectForm"); }, none};
    if (command == "N21Click")
        return {[this](MainWindowTest&) { ExpectModalRun("TShiti"); },
                [this](MainWindowTest&) { EXPECT_EQ(Form1->SchemeCaption(), path_); }};
    if (command == "N11Click")
        return {[this](MainWindowTest&) {
                    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
                        PowerSystem->Button2Click();
                        return mrCancel;
                    });
                },
                [](MainWindowTest&) { EXPECT_FALSE(Dan1->isVisible()); }};
    const struct {
        const char* command;
        QWidget* window;
        const char* caption;
    } shown[] = {
        {"N30Click", Form3, "Грщ (редактирование)"},
        {"N4Click", Form3, "Щиты (редактирование)"},
        {"N25Click", Form3, "Группы (редактирование)"},
        {"N12Click", BazaT, "Сечение и длительные токи"},
        {"N13Click", BazaTran, "Ваза данных"},
        {"N14Click", BazaAvt, "Ваза данных"},
        {"N18Click", BazaT, "Справочник"},
        {"N19Click", BazaTran, "Справочник"},
        {"N20Click", BazaAvt, "Справочник"},
        {"About1Click", AboutBox, "О программе"},
    };
    for (const auto& s : shown) {
        if (command != s.command) continue;
        QWidget* window = s.window;
        const std::string caption = s.caption;
        return {none, [window, caption](MainWindowTest&) { ExpectShown(window, caption); }};
    }
    if (command == "N47Click" || command == "N48Click") {
        const int kind = command == "N47Click" ? 0 : 1;
        return {none, [this, kind](MainWindowTest&) {
                    EXPECT_TRUE(Form8->isVisible());
                    EXPECT_EQ(Form8->JournalKind(), kind);
                    // The journal is in the grid: its first row is a switchboard feeder.
                    ASSERT_NE(Form8->StringGrid1->item(1, 2), nullptr);
                    EXPECT_EQ(Form8->StringGrid1->item(1, 2)->text().toStdString(), "Секция КТП");
                }};
    }
    if (command == "N49Click" || command == "N50Click") {
        const std::string caption = command == "N49Click" ? "Грщ №" : "Щит №";
        return {[this, caption](MainWindowTest&) {
                    ExpectModalRun("TForm9", [caption](QDialog& chooser) {
                        EXPECT_EQ(chooser.windowTitle().toStdString(), caption);
                    });
                },
                none};
    }
    if (command == "N63Click")
        return {[](MainWindowTest&) {
                    Form2->FreePicture();
                    Form1->DocumentKind = 0;
                },
                [](MainWindowTest&) {
                    EXPECT_EQ(Form2->PictureKind(), 1);
                    EXPECT_EQ(Form1->DocumentKind, 1);
                }};
    if (command == "N64Click" || command == "N65Click") {
        const int mode = command == "N64Click" ? 1 : 0;
        return {[this](MainWindowTest&) { ExpectModalRun("TForm5"); },
                [mode](MainWindowTest&) { EXPECT_EQ(Form1->PanelPictureMode, mode); }};
    }
    if (command == "N66Click")
        return {[this](MainWindowTest&) {
                    ExpectModalRun("TForm9", [](QDialog& chooser) {
                        EXPECT_EQ(chooser.windowTitle().toStdString(), "Грщ №");
                    });
                },
                [](MainWindowTest&) { EXPECT_EQ(Form1->DocumentKind, SupplySchemeDocument); }};
    if (command == "N22Click")
        return {none, [](MainWindowTest&) {
                    ASSERT_NE(Form1->PanelChooserForm, nullptr);
                    EXPECT_TRUE(Form1->PanelChooserForm->isVisible());
                    EXPECT_EQ(Form1->PanelChooserForm->windowTitle().toStdString(), "Щит №");
                }};
    if (command == "N55Click")
        return {none, [](MainWindowTest&) {
                    ASSERT_NE(Form4, nullptr);
                    ExpectShown(Form4, "(Результаты) Щиты");
                }};
    if (command == "Contents1Click")
        return {none, [this](MainWindowTest&) {
                    EXPECT_EQ(shell_.urls, std::vector<std::string>{platform::HelpUrl(0)});
                }};
    if (command == "ToolButton43Click")
        return {[](MainWindowTest&) {
                    Form2->Image1 = new platform::TImage(Form2);
                    Form2->Image1->SetTag(3);
                },
                [](MainWindowTest&) {
                    EXPECT_FALSE(Form7->isHidden());
                    EXPECT_EQ(Form1->DocumentKind, SchemePictureDocument);
                }};
    if (command == "ToolButton6Click")
        // The journal previewed last, of three pages.
        return {[this](MainWindowTest&) {
                    Form1->DocumentKind = CableJournalDocument;
                    Form8->JournalPageCount = 3;
                    Form8->PageBitmap = std::make_unique<platform::TBitmap>();
                    Form8->PageBitmap->SetSize(800, 3105);
                    ExpectModalRun("QPrintDialog", [](QDialog& dialog) {
                        EXPECT_EQ(static_cast<QPrintDialog&>(dialog).maxPage(), 3);
                    });
                },
                none};
    if (command == "ToolButton44Click")
        return {none, [](MainWindowTest&) {
                    EXPECT_EQ(Form1->PreviewZoom, 1);
                    EXPECT_EQ(Form1->ToolButton44->property("ImageIndex").toInt(), 119);
                }};
    ADD_FAILURE() << "no effect known for " << command;
    return {none, none};
}

TEST_P(CommandRoutes, ReachTheirHandler) {
    const Route& route = GetParam();
    path_ = OpenSmallProject();
    const Effect effect = EffectOf(route.command);
    effect.arrange(*this);
    QAction* item = route.Item();
    ASSERT_NE(item, nullptr);
    item->trigger();
    effect.check(*this);
    responder_.VerifyDone();
}

namespace {

const Route kRoutes[] = {
    // Main menu.
    {"menu_New", &Ui_TForm1::New1, nullptr, "New1Click"},
    {"menu_Open", &Ui_TForm1::Open1, nullptr, "Open1Click"},
    {"menu_Save", &Ui_TForm1::Save1, nullptr, "Save1Click"},
    {"menu_SaveAs", &Ui_TForm1::SaveAs, nullptr, "SaveAsClick"},
    {"menu_Print", &Ui_TForm1::Print1, nullptr, "Print1Click"},
    {"menu_Exit", &Ui_TForm1::Exit1, nullptr, "Exit1Click"},
    {"menu_Stamp", &Ui_TForm1::N59, nullptr, "N59Click"},
    {"menu_Switchboards", &Ui_TForm1::N21, nullptr, "N21Click"},
    {"menu_Groups", &Ui_TForm1::N11, nullptr, "N11Click"},
    {"menu_EditSwitchboard", &Ui_TForm1::N30, nullptr, "N30Click"},
    {"menu_EditPanels", &Ui_TForm1::N4, nullptr, "N4Click"},
    {"menu_EditGroups", &Ui_TForm1::N25, nullptr, "N25Click"},
    {"menu_CableTables", &Ui_TForm1::N12, nullptr, "N12Click"},
    {"menu_TransformerBase", &Ui_TForm1::N13, nullptr, "N13Click"},
    {"menu_BreakerBase", &Ui_TForm1::N14, nullptr, "N14Click"},
    {"menu_JournalGeneral", &Ui_TForm1::N47, nullptr, "N47Click"},
    {"menu_JournalSection", &Ui_TForm1::N48, nullptr, "N48Click"},
    {"menu_JournalSwitchboard", &Ui_TForm1::N49, nullptr, "N49Click"},
    {"menu_JournalPanel", &Ui_TForm1::N50, nullptr, "N50Click"},
    {"menu_GeneralScheme", &Ui_TForm1::N63, nullptr, "N63Click"},
    {"menu_PanelScheme", &Ui_TForm1::N64, nullptr, "N64Click"},
    {"menu_LoadDistribution", &Ui_TForm1::N65, nullptr, "N65Click"},
    {"menu_SupplyScheme", &Ui_TForm1::N66, nullptr, "N66Click"},
    {"menu_GroupResults", &Ui_TForm1::N22, nullptr, "N22Click"},
    {"menu_PanelResults", &Ui_TForm1::N55, nullptr, "N55Click"},
    {"menu_Cables", &Ui_TForm1::N18, nullptr, "N18Click"},
    {"menu_Transformers", &Ui_TForm1::N19, nullptr, "N19Click"},
    {"menu_Breakers", &Ui_TForm1::N20, nullptr, "N20Click"},
    {"menu_Help", &Ui_TForm1::Contents1, nullptr, "Contents1Click"},
    {"menu_About", &Ui_TForm1::About1, nullptr, "About1Click"},
    // Main toolbar and preview bar.
    {"button_New", &Ui_TForm1::ToolButton1, nullptr, "New1Click"},
    {"button_Open", &Ui_TForm1::ToolButton2, nullptr, "Open1Click"},
    {"button_Save", &Ui_TForm1::ToolButton4, nullptr, "Save1Click"},
    {"button_SaveAs", &Ui_TForm1::ToolButton5, nullptr, "SaveAsClick"},
    {"button_Printer", &Ui_TForm1::ToolButton41, nullptr, "Print1Click"},
    {"button_Exit", &Ui_TForm1::ToolButton8, nullptr, "ToolButton8Click"},
    {"button_Switchboards", &Ui_TForm1::ToolButton15, nullptr, "N21Click"},
    {"button_Groups", &Ui_TForm1::ToolButton17, nullptr, "N11Click"},
    {"button_EditSwitchboard", &Ui_TForm1::ToolButton32, nullptr, "N30Click"},
    {"button_EditPanels", &Ui_TForm1::ToolButton35, nullptr, "N4Click"},
    {"button_EditGroups", &Ui_TForm1::ToolButton37, nullptr, "N25Click"},
    {"button_JournalGeneral", &Ui_TForm1::ToolButton12, nullptr, "N47Click"},
    {"button_JournalSection", &Ui_TForm1::ToolButton26, nullptr, "N48Click"},
    {"button_JournalSwitchboard", &Ui_TForm1::ToolButton31, nullptr, "N49Click"},
    {"button_JournalPanel", &Ui_TForm1::ToolButton40, nullptr, "N50Click"},
    {"button_GeneralScheme", &Ui_TForm1::ToolButton10, nullptr, "N63Click"},
    {"button_PanelScheme", &Ui_TForm1::ToolButton29, nullptr, "N64Click"},
    {"button_LoadDistribution", &Ui_TForm1::ToolButton14, nullptr, "N65Click"},
    {"button_SupplyScheme", &Ui_TForm1::ToolButton53, nullptr, "N66Click"},
    {"button_GroupResults", &Ui_TForm1::ToolButton39, nullptr, "N22Click"},
    {"button_PanelResults", &Ui_TForm1::ToolButton11, nullptr, "N55Click"},
    {"button_Cables", &Ui_TForm1::ToolButton21, nullptr, "N18Click"},
    {"button_Transformers", &Ui_TForm1::ToolButton23, nullptr, "N19Click"},
    {"button_Breakers", &Ui_TForm1::ToolButton25, nullptr, "N20Click"},
    {"button_Help", &Ui_TForm1::ToolButton9, nullptr, "Contents1Click"},
    {"button_Preview", &Ui_TForm1::ToolButton43, nullptr, "ToolButton43Click"},
    {"button_PreviewPrint", &Ui_TForm1::ToolButton6, nullptr, "ToolButton6Click"},
    {"button_PreviewZoom", &Ui_TForm1::ToolButton44, nullptr, "ToolButton44Click"},
    // The main window's pop-up menu.
    {"popup_New", &Ui_TForm1::PopupNew1, nullptr, "New1Click"},
    {"popup_Open", &Ui_TForm1::PopupOpen1, nullptr, "Open1Click"},
    {"popup_Exit", &Ui_TForm1::PopupExit1, nullptr, "Exit1Click"},
    // The scheme window's pop-up menu.
    {"scheme_New", nullptr, &Ui_TForm2::N2, "New1Click"},
    {"scheme_Open", nullptr, &Ui_TForm2::N3, "Open1Click"},
    {"scheme_Save", nullptr, &Ui_TForm2::N4, "Save1Click"},
    {"scheme_SaveAs", nullptr, &Ui_TForm2::N5, "SaveAsClick"},
    {"scheme_Print", nullptr, &Ui_TForm2::N6, "Print1Click"},
    {"scheme_Exit", nullptr, &Ui_TForm2::N7, "SchemeWindowExit"},
    {"scheme_Switchboards", nullptr, &Ui_TForm2::N9, "N21Click"},
    {"scheme_Groups", nullptr, &Ui_TForm2::N10, "N11Click"},
    {"scheme_GroupResults", nullptr, &Ui_TForm2::N20, "N22Click"},
    {"scheme_PanelResults", nullptr, &Ui_TForm2::N22, "N55Click"},
    {"scheme_LoadDistribution", nullptr, &Ui_TForm2::N12, "N65Click"},
    {"scheme_PanelScheme", nullptr, &Ui_TForm2::N18, "N64Click"},
    {"scheme_GeneralScheme", nullptr, &Ui_TForm2::N13, "N63Click"},
    {"scheme_SupplyScheme", nullptr, &Ui_TForm2::N32, "N66Click"},
    {"scheme_EditGroups", nullptr, &Ui_TForm2::N24, "N25Click"},
    {"scheme_EditPanels", nullptr, &Ui_TForm2::N25, "N4Click"},
    {"scheme_EditSwitchboard", nullptr, &Ui_TForm2::N26, "N30Click"},
    {"scheme_CableTables", nullptr, &Ui_TForm2::N15, "N12Click"},
    {"scheme_TransformerBase", nullptr, &Ui_TForm2::N16, "N13Click"},
    {"scheme_BreakerBase", nullptr, &Ui_TForm2::N17, "N14Click"},
    {"scheme_JournalGeneral", nullptr, &Ui_TForm2::N28, "N47Click"},
    {"scheme_JournalSection", nullptr, &Ui_TForm2::N29, "N48Click"},
    {"scheme_JournalSwitchboard", nullptr, &Ui_TForm2::N30, "N49Click"},
    {"scheme_JournalPanel", nullptr, &Ui_TForm2::N31, "N50Click"},
};

INSTANTIATE_TEST_SUITE_P(AllRoutes, CommandRoutes, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
