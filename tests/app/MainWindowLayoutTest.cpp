// The main window as the user meets it: the windows made at start-up in their order, every menu
// item with its caption and shortcut, the toolbar buttons with their hints and icons, the scale
// combo box, the preview bar and the pop-up menus of the main and the scheme window.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSvgRenderer>
#include <QToolBar>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "app/Startup.h"

namespace {

using MainWindowLayout = AppFixture;

std::string Text(const QString& text) {
    return text.toStdString();
}

// The menu of the menu bar or of a menu whose title is `title`.
QMenu* Submenu(const QList<QAction*>& actions, const std::string& title) {
    for (QAction* action : actions)
        if (action->menu() != nullptr && Text(action->text()) == title) return action->menu();
    return nullptr;
}

// The item reached through the titles of `path` from the menu bar, by its caption.
QAction* MenuItem(const std::vector<std::string>& path, const std::string& caption) {
    QList<QAction*> actions = Form1->MainMenu1->actions();
    for (const std::string& title : path) {
        QMenu* menu = Submenu(actions, title);
        if (menu == nullptr) return nullptr;
        actions = menu->actions();
    }
    for (QAction* action : actions)
        if (!action->isSeparator() && Text(action->text()) == caption) return action;
    return nullptr;
}

// Some pixel of the icon at 24 px is not transparent: it was found and drawn.
bool IconDrawn(const QIcon& icon) {
    const QImage image = icon.pixmap(24, 24).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

std::vector<std::string> Captions(const QList<QAction*>& actions) {
    std::vector<std::string> captions;
    for (const QAction* action : actions)
        captions.push_back(action->isSeparator() ? "-" : Text(action->text()));
    return captions;
}

}  // namespace

TEST_F(MainWindowLayout, WindowsAreMadeInTheDesignedOrderTheMainWindowFirst) {
    const std::vector<std::string> designed = {
        "TForm1",         "TAboutBox",      "TBazaAvt",
        "TBazaT",         "TBazaTran",      "TDan1",
        "TForm2",         "TForm3",         "TForm4",
        "TForm5",         "TForm7",         "TForm8",
        "TForm9",         "TInsertAvtomat", "TNotSimmetr_2F",
        "TNotSimmetr_3F", "TShiti",         "TFormMagistral",
        "TDialogForm",    "TPowerSystem",   "TAdjustmentProjectForm"};
    EXPECT_EQ(WindowCreationOrder(), designed);
}

TEST_F(MainWindowLayout, WindowCaptionSizeAndBars) {
    EXPECT_EQ(Text(Form1->windowTitle()), "Veltranovaplanir VP.3.2");
    EXPECT_EQ(Form1->size(), QSize(917, 676));
    EXPECT_EQ(Form1->property("HelpContext").toInt(), 100);
    EXPECT_FALSE(Form1->ControlBar1->isHidden());
    EXPECT_FALSE(Form1->StatusBar1->isHidden());
    // The preview bar shows only with a preview.
    EXPECT_TRUE(Form1->ControlBar2->isHidden());
    EXPECT_TRUE(Form1->ControlBar2->isAncestorOf(Form1->BitBtn1));
    EXPECT_EQ(Text(Form1->BitBtn1->text()), "Закрыть");
    EXPECT_TRUE(Form1->ToolBar11->actions().contains(Form1->ToolButton6));
    EXPECT_TRUE(Form1->ToolBar11->actions().contains(Form1->ToolButton44));
    EXPECT_EQ(Form1->ToolButton44->property("ImageIndex").toInt(), 121);
    EXPECT_EQ(Form1->ToolBar10->actions(), QList<QAction*>{Form1->ToolButton43});
}

TEST_F(MainWindowLayout, ScaleComboBoxOffersThreeScalesAndStartsAt75) {
    QComboBox* scale = Form1->ComboBox1;
    EXPECT_EQ(scale->parentWidget(), Form1->ToolBar1);
    EXPECT_TRUE(Form1->ControlBar1->isAncestorOf(scale));
    EXPECT_EQ(Text(scale->toolTip()), "Масштаб схемы");
    ASSERT_EQ(scale->count(), 3);
    EXPECT_EQ(Text(scale->itemText(0)), "100%");
    EXPECT_EQ(Text(scale->itemText(1)), "75%");
    EXPECT_EQ(Text(scale->itemText(2)), "50%");
    EXPECT_EQ(scale->currentIndex(), 1);
    EXPECT_FALSE(scale->isEditable());
}

TEST_F(MainWindowLayout, MenuBarHoldsTheMenusInOrder) {
    EXPECT_EQ(Captions(Form1->MainMenu1->actions()),
              (std::vector<std::string>{"&Файл", "Настройки", "&Данные", "Вид", "&Редактирование",
                                        "&База данных", "Документы", "&Результаты", "&Справочник",
                                        "&Справка"}));
    // Nine fixed items; the recent projects follow them.
    const std::vector<std::string> file = Captions(Form1->File1->actions());
    ASSERT_GE(file.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(file.begin(), file.begin() + 9),
              (std::vector<std::string>{"&Новый", "&Открыть", "-", "&Сохранить", "Сохранить Как",
                                        "-", "&Печать", "-", "&Выход"}));
}

TEST_F(MainWindowLayout, EveryMenuItemHasItsCaptionShortcutAndName) {
    struct Item {
        std::vector<std::string> path;
        std::string caption;
        std::string shortcut;  // "" for none
        std::string name;
    };
    const std::vector<std::string> file = {"&Файл"};
    const std::vector<std::string> edit = {"&Редактирование"};
    const std::vector<std::string> tables = {"&База данных", "&Создание таблиц"};
    const std::vector<std::string> journals = {"Документы", "Кабельный журнал "};
    const std::vector<std::string> schemes = {"Документы", "Схемы"};
    const std::vector<std::string> reference = {"&Справочник"};
    const std::vector<Item> items = {
        {file, "&Новый", "Ctrl+N", "New1"},
        {file, "&Открыть", "Ctrl+O", "Open1"},
        {file, "&Сохранить", "Ctrl+S", "Save1"},
        {file, "Сохранить Как", "", "SaveAs"},
        {file, "&Печать", "Ctrl+P", "Print1"},
        {file, "&Выход", "Ctrl+A", "Exit1"},
        {{"Настройки"}, "Штамп проекта", "", "N59"},
        {{"&Данные"}, "Установка щитов", "Ctrl+B", "N21"},
        {{"&Данные"}, "Подключение групп", "Ctrl+C", "N11"},
        {{"Вид"}, "Панель инструментов", "", "N16"},
        {{"Вид"}, "Строка состояния", "", "N32"},
        {edit, "&Грщ", "Ctrl+F", "N30"},
        {edit, "&Щиты", "Ctrl+G", "N4"},
        {edit, "&Группы", "Ctrl+W", "N25"},
        {tables, "&Допустимые длительные токи", "Ctrl+Alt+A", "N12"},
        {tables, "&Трансформаторы", "Ctrl+Alt+B", "N13"},
        {tables, "&Автоматические выключатели", "Ctrl+Alt+C", "N14"},
        {journals, "Кабельный журнал (общий)", "", "N47"},
        {journals, "Кабельный журнал (Секция КТП - Грщ)", "", "N48"},
        {journals, "Кабельный журнал (Грщ)", "", "N49"},
        {journals, "Кабельный журнал (Щит)", "", "N50"},
        {schemes, "Общая схема", "", "N63"},
        {schemes, "Однолинейная схема щита", "", "N64"},
        {schemes, "Схема распределения нагрузок ", "", "N65"},
        {schemes, "Принципиальная  схема питающей сети", "", "N66"},
        {{"&Результаты"}, "Группы", "", "N22"},
        {{"&Результаты"}, "Щиты", "", "N55"},
        {reference, "&Провода и кабели", "Ctrl+K", "N18"},
        {reference, "&Трасформаторы", "Ctrl+T", "N19"},
        {reference, "&Автоматические выключатели", "Ctrl+J", "N20"},
        {{"&Справка"}, "&Вызов справки ", "Ctrl+X", "Contents1"},
        {{"&Справка"}, "&О программе", "Ctrl+Y", "About1"},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.caption);
        const QAction* action = MenuItem(item.path, item.caption);
        ASSERT_NE(action, nullptr) << "no such item at that place";
        EXPECT_EQ(Text(action->objectName()), item.name);
        EXPECT_EQ(action->shortcut(),
                  QKeySequence::fromString(QString::fromStdString(item.shortcut),
                                           QKeySequence::PortableText));
    }
    // Both view items start marked: toolbar and status bar are shown.
    EXPECT_TRUE(Form1->N16->isCheckable() && Form1->N16->isChecked());
    EXPECT_TRUE(Form1->N32->isCheckable() && Form1->N32->isChecked());
}

TEST_F(MainWindowLayout, ToolbarButtonsCarryTheirHintsAndIcons) {
    struct Button {
        QAction* Ui_TForm1::*button;
        std::string hint;
    };
    const std::vector<Button> buttons = {
        {&Ui_TForm1::ToolButton1, "Новый файл"},
        {&Ui_TForm1::ToolButton2, "Открыть файл"},
        {&Ui_TForm1::ToolButton4, "Сохранить файл"},
        {&Ui_TForm1::ToolButton5, "Сохранить как"},
        {&Ui_TForm1::ToolButton41, "Принтер"},
        {&Ui_TForm1::ToolButton8, "Выход"},
        {&Ui_TForm1::ToolButton15, "Установка щитов"},
        {&Ui_TForm1::ToolButton17, "Подключение групп"},
        {&Ui_TForm1::ToolButton32, "Редактирование ГРЩ"},
        {&Ui_TForm1::ToolButton35, "Редактирование щиты"},
        {&Ui_TForm1::ToolButton37, "Редактирование группы"},
        {&Ui_TForm1::ToolButton10, "Однолинейная общая схема"},
        {&Ui_TForm1::ToolButton29, "Однолинейная схема щита"},
        {&Ui_TForm1::ToolButton14, "Схема распределения нагрузок"},
        {&Ui_TForm1::ToolButton53, "Принципиальная схема питающей сети"},
        {&Ui_TForm1::ToolButton12, "Кабельный журнал (общий)"},
        {&Ui_TForm1::ToolButton26, "Кабельный журнал (Секция КТП - Грщ)"},
        {&Ui_TForm1::ToolButton31, "Кабельный журнал (Грщ)"},
        {&Ui_TForm1::ToolButton40, "Кабельный журнал (Щит)"},
        {&Ui_TForm1::ToolButton39, "Расчетные данные  (группы)"},
        {&Ui_TForm1::ToolButton11, "Расчетные данные (Щиты)"},
        {&Ui_TForm1::ToolButton21, "Таблицы"},
        {&Ui_TForm1::ToolButton23, "Трансформатор"},
        {&Ui_TForm1::ToolButton25, "Автоматы"},
        {&Ui_TForm1::ToolButton9, "Справка"},
        {&Ui_TForm1::ToolButton43, "Предварительный просмотр"},
        {&Ui_TForm1::ToolButton6, "Печать"},
    };
    std::vector<QAction*> onControlBar;
    for (QToolBar* bar : Form1->ControlBar1->findChildren<QToolBar*>())
        for (QAction* action : bar->actions()) onControlBar.push_back(action);
    for (const Button& b : buttons) {
        const QAction* button = Form1->*b.button;
        SCOPED_TRACE(b.hint);
        EXPECT_EQ(Text(button->toolTip()), b.hint);
        EXPECT_TRUE(IconDrawn(button->icon()));
        const bool previewBar = button == Form1->ToolButton6;
        EXPECT_EQ(std::count(onControlBar.begin(), onControlBar.end(), button), previewBar ? 0 : 1);
    }
    EXPECT_TRUE(IconDrawn(Form1->ToolButton44->icon()));
}

// Every icon the windows name is in the resources, and is an SVG that draws.
TEST_F(MainWindowLayout, EveryIconIsAValidDrawing) {
    int icons = 0;
    QDirIterator it(":/icons", {"*.svg"}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(Text(path));
        QSvgRenderer drawing(path);
        EXPECT_TRUE(drawing.isValid());
        EXPECT_EQ(drawing.viewBox(), QRect(0, 0, 24, 24));
        ++icons;
    }
    EXPECT_GT(icons, 0);
    for (QAction* action : Form1->findChildren<QAction*>()) {
        if (action->icon().isNull()) continue;
        SCOPED_TRACE(Text(action->objectName()));
        EXPECT_TRUE(IconDrawn(action->icon()));
    }
}

TEST_F(MainWindowLayout, PopupMenusOfBothWindows) {
    EXPECT_EQ(Captions(Form1->PopupMenu1->actions()),
              (std::vector<std::string>{"&Новый", "-", "&Открыть", "-", "&Выход"}));

    struct Item {
        std::string menu;
        std::string caption;
        std::string name;
    };
    const std::vector<Item> items = {
        {"Файл", "Новый", "N2"},
        {"Файл", "Открыть", "N3"},
        {"Файл", "Сохранить", "N4"},
        {"Файл", "Сохранить Как", "N5"},
        {"Файл", "Печать", "N6"},
        {"Файл", "Выход", "N7"},
        {"Данные", "Установка щитов", "N9"},
        {"Данные", "Подключение групп", "N10"},
        {"Результаты", "Группы", "N20"},
        {"Результаты", "Щиты", "N22"},
        {"Документы", "Схема распределения нагрузок", "N12"},
        {"Документы", "Однолинейная схема щита", "N18"},
        {"Документы", "Общая схема", "N13"},
        {"Документы", "Принципиальная схема распределительной сети", "N32"},
        {"Редактирование", "Группы", "N24"},
        {"Редактирование", "Щиты", "N25"},
        {"Редактирование", "Грщ", "N26"},
        {"База данных", "Допустимые длительные токи", "N15"},
        {"База данных", "Трансформаторы", "N16"},
        {"База данных", "Автоматы", "N17"},
        {"Кабельный журнал", "Кабельный журнал (общий)", "N28"},
        {"Кабельный журнал", "Кабельный журнал (ВРУ)", "N29"},
        {"Кабельный журнал", "Кабельный журнал (ГРЩ)", "N30"},
        {"Кабельный журнал", "Кабельный журнанал (Щит)", "N31"},
    };
    EXPECT_EQ(Captions(Form2->PopupMenu1->actions()),
              (std::vector<std::string>{"Файл", "Данные", "Результаты", "Документы",
                                        "Редактирование", "База данных", "Кабельный журнал"}));
    for (const Item& item : items) {
        SCOPED_TRACE(item.caption);
        const QMenu* menu = Submenu(Form2->PopupMenu1->actions(), item.menu);
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> actions = menu->actions();
        const auto found = std::find_if(actions.begin(), actions.end(), [&](const QAction* action) {
            return Text(action->text()) == item.caption;
        });
        ASSERT_NE(found, actions.end());
        EXPECT_EQ(Text((*found)->objectName()), item.name);
    }
}
