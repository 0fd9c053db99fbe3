// The four layouts of "Щиты": what each opener shows, where, and that nothing is cut off.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include "ConnectionFixture.h"
#include "WindowChecks.h"
#include "editing/Shiti12.h"
#include "platform/Choices.h"

namespace {

using Layout = TShiti::Layout;
using ConnectionLayout = ConnectionTest;

std::string Text(const QString& text) {
    return text.toStdString();
}

// The controls of the two boxes, the boxes and "Закрыть" that show in the layout.
std::set<std::string> Shown() {
    std::set<std::string> names;
    std::vector<QWidget*> controls = {Shiti->GroupBox1, Shiti->GroupBox2, Shiti->Button1};
    for (QGroupBox* box : {Shiti->GroupBox1, Shiti->GroupBox2})
        for (QWidget* w : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            controls.push_back(w);
    for (QWidget* w : controls)
        if (!w->isHidden()) names.insert(Text(w->objectName()));
    return names;
}

TEST_F(ConnectionLayout, NewProjectShowsTheDialogForConnecting) {
    NewProject([] {
        EXPECT_EQ(Text(Shiti->windowTitle()), "Щиты");
        EXPECT_EQ(Shiti->size(), QSize(402, 393));
        EXPECT_EQ(Shiti->minimumSize(), QSize(402, 393));
        EXPECT_EQ(Shiti->maximumSize(), QSize(402, 393));
        // Only the system menu with its close box.
        EXPECT_TRUE(Shiti->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(Shiti->windowFlags() & Qt::WindowMinMaxButtonsHint);
        EXPECT_EQ(Shiti->property("HelpContext").toInt(), 102);
        EXPECT_EQ(Shown(),
                  (std::set<std::string>{"GroupBox1", "RadioButton1", "Label2",    "Edit2",
                                         "Label1",    "Edit3",        "Label3",    "Label10",
                                         "ComboBox4", "Label8",       "ComboBox1", "Label13",
                                         "Edit6",     "Label14",      "Edit7",     "Button2",
                                         "GroupBox2", "RadioButton2", "Label4",    "ComboBox2",
                                         "Label5",    "Edit1",        "Label6",    "Edit4",
                                         "Label7",    "Label11",      "ComboBox5", "Label9",
                                         "ComboBox3", "Label12",      "Edit5",     "Label15",
                                         "Edit8",     "RadioGroup1",  "Button4",   "Button1"}));
        // The main switchboard connection is selected; "Схема соединения" waits for a
        // switchboard with panels.
        EXPECT_TRUE(Shiti->RadioButton1->isChecked());
        EXPECT_FALSE(Shiti->RadioButton2->isChecked());
        EXPECT_TRUE(Shiti->Button2->isEnabled());
        EXPECT_TRUE(Shiti->Edit2->isEnabled());
        EXPECT_FALSE(Shiti->Button4->isEnabled());
        EXPECT_FALSE(Shiti->ComboBox2->isEnabled());
        EXPECT_FALSE(Shiti->Edit1->isEnabled());
        EXPECT_FALSE(Shiti->RadioGroup1->isEnabled());
        EXPECT_EQ(platform::ItemIndex(*Shiti->RadioGroup1), 0);
        for (const QComboBox* list : {Shiti->ComboBox1, Shiti->ComboBox2, Shiti->ComboBox3,
                                      Shiti->ComboBox4, Shiti->ComboBox5})
            EXPECT_EQ(list->currentIndex(), -1) << Text(list->objectName());
        EXPECT_EQ(Text(Shiti->Edit6->text()), "15");
        EXPECT_EQ(Text(Shiti->Edit5->text()), "15");
        ExpectNothingCutOff(*Shiti);
    });
}

TEST_F(ConnectionLayout, CaptionsAndListsAreAsDesigned) {
    const std::vector<std::pair<QWidget*, std::string>> captions = {
        {Shiti->GroupBox1, "Соединение ВРУ - ГРЩ"},
        {Shiti->RadioButton1, "Соединение"},
        {Shiti->Label2, "ГРЩ№"},
        {Shiti->Label1, "Длина трассы"},
        {Shiti->Label3, "м"},
        {Shiti->Label10, "Способ прокладки"},
        {Shiti->Label8, "Таблица (длительный ток)"},
        {Shiti->Label13, "Температура"},
        {Shiti->Label14, "Название кабеля"},
        {Shiti->Button2, "Соединить"},
        {Shiti->Button3, "Отменить"},
        {Shiti->Button7, "Изменить"},
        {Shiti->GroupBox2, "Соединение щитов"},
        {Shiti->RadioButton2, "Соединение"},
        {Shiti->Label4, "ГРЩ№"},
        {Shiti->Label5, "Щит№"},
        {Shiti->Label6, "Длина трассы"},
        {Shiti->Label7, "м"},
        {Shiti->Label11, "Способ прокладки"},
        {Shiti->Label9, "Таблица (длительные токи)"},
        {Shiti->Label12, "Температура"},
        {Shiti->Label15, "Название кабеля (на плане)"},
        {Shiti->Label16, "Коэффициент спроса"},
        {Shiti->RadioGroup1, "Схема соединения"},
        {Shiti->RadioGroup1Item0, "Радиальная"},
        {Shiti->RadioGroup1Item1, "Магистральная"},
        {Shiti->Button4, "Соединить"},
        {Shiti->Button5, "Отменить"},
        {Shiti->Button6, "Изменить"},
        {Shiti->Button1, "Закрыть"},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(Text(ShownText(*control)), caption) << Text(control->objectName());
    EXPECT_EQ(Text(Shiti->Edit7->toolTip()), "Название кабеля (на плане)");
    const std::vector<std::string> laying = {"В воздухе", "В земле", "Четыре провода в трубе"};
    EXPECT_EQ(Items(*Shiti->ComboBox4), laying);
    EXPECT_EQ(Items(*Shiti->ComboBox5), laying);
    for (const QComboBox* list :
         {Shiti->ComboBox1, Shiti->ComboBox2, Shiti->ComboBox3, Shiti->ComboBox4, Shiti->ComboBox5})
        EXPECT_FALSE(list->isEditable()) << Text(list->objectName());
    const std::vector<std::pair<QLineEdit*, int>> lengths = {
        {Shiti->Edit2, 4}, {Shiti->Edit3, 8}, {Shiti->Edit6, 3},
        {Shiti->Edit7, 5}, {Shiti->Edit1, 4}, {Shiti->Edit4, 6},
        {Shiti->Edit5, 3}, {Shiti->Edit8, 5}, {Shiti->Edit9, 4}};
    for (const auto& [edit, length] : lengths)
        EXPECT_EQ(edit->maxLength(), length) << Text(edit->objectName());
    EXPECT_EQ(Text(Shiti->Edit9->text()), "1");
}

struct LayoutCase {
    const char* what;
    Layout layout;
    std::string caption;
    QSize size;
    bool closeBox;
    std::set<std::string> shown;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.what;
}

class EveryLayout : public ConnectionTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(EveryLayout, ShowsItsControlsUncut) {
    const LayoutCase& c = GetParam();
    Shiti->SetLayout(c.layout);
    Shiti->show();
    EXPECT_EQ(Text(Shiti->windowTitle()), c.caption);
    EXPECT_EQ(Shiti->size(), c.size);
    EXPECT_EQ(Shiti->minimumSize(), c.size);
    EXPECT_EQ(bool(Shiti->windowFlags() & Qt::WindowCloseButtonHint), c.closeBox);
    EXPECT_EQ(Shown(), c.shown);
    ExpectNothingCutOff(*Shiti);
    Shiti->hide();
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EveryLayout,
    ::testing::Values(LayoutCase{"panel edit",
                                 Layout::PanelEdit,
                                 "Щиты (редактирование)",
                                 {402, 206},
                                 false,
                                 {"GroupBox2", "Label5", "Edit1", "Label12", "Edit5", "Label6",
                                  "Edit4", "Label7", "Label9", "ComboBox3", "Label11", "ComboBox5",
                                  "Label15", "Edit8", "Label16", "Edit9", "Button6", "Button5"}},
                      LayoutCase{"switchboard edit",
                                 Layout::SwitchboardEdit,
                                 "Грщ.(редактирование)",
                                 {402, 194},
                                 false,
                                 {"GroupBox1", "Label2", "Edit2", "Label13", "Edit6", "Label1",
                                  "Edit3", "Label3", "Label8", "ComboBox1", "Label10", "ComboBox4",
                                  "Label14", "Edit7", "Button7", "Button3"}},
                      LayoutCase{"new-panel remedy",
                                 Layout::NewPanelRemedy,
                                 "Щиты",
                                 {402, 120},
                                 true,
                                 {"GroupBox2", "Label9", "ComboBox3", "Label11", "ComboBox5",
                                  "Label5", "Edit1", "Label15", "Edit8", "Button4"}}));

TEST_F(ConnectionLayout, EditLayoutsSetTheirModesControls) {
    Shiti->SetLayout(Layout::PanelEdit);
    EXPECT_TRUE(Shiti->RadioButton2->isChecked());
    EXPECT_TRUE(Shiti->Edit1->isEnabled());
    Shiti->SetLayout(Layout::SwitchboardEdit);
    EXPECT_EQ(Text(Shiti->GroupBox1->title()), "Грщ");
    EXPECT_TRUE(Shiti->Edit2->isEnabled());
    Shiti->SetLayout(Layout::NewPanelRemedy);
    EXPECT_TRUE(Shiti->RadioButton2->isChecked());
    EXPECT_TRUE(Shiti->Edit1->isEnabled());
}

// After an edit layout, the next opener of the connection dialog lays the whole window out again.
TEST_F(ConnectionLayout, ConnectionLayoutFollowsAnEditLayout) {
    NewProject();
    Shiti->SetLayout(Layout::SwitchboardEdit);
    Shiti->ComboBox3->setEnabled(false);
    InstallPanels([] {
        EXPECT_EQ(Text(Shiti->windowTitle()), "Щиты");
        EXPECT_EQ(Text(Shiti->GroupBox1->title()), "Соединение ВРУ - ГРЩ");
        EXPECT_EQ(Shiti->size(), QSize(402, 393));
        EXPECT_TRUE(Shiti->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(Shiti->GroupBox2->isHidden());
        EXPECT_FALSE(Shiti->Button1->isHidden());
        EXPECT_TRUE(Shiti->Button7->isHidden());
        EXPECT_TRUE(Shiti->ComboBox3->isEnabled());
        ExpectNothingCutOff(*Shiti);
    });
}

}  // namespace
