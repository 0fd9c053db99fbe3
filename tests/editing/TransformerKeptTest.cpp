// The transformer the user chose stays with the project when the project loses its last load.
#include <gtest/gtest.h>

#include "ProjectScript.h"
#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "app/PowerSystem.h"

namespace {

using namespace script;

class TransformerKept : public ProjectScriptTest {};

TEST_F(TransformerKept, AfterARefusedFirstLine) {
    Connect({"", {{"1", "40", {Radial("1", "20", "ВВГв4.xml", {})}}}, {}, {}});
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        Choose(PowerSystem->ComboBox5, "ТМ-160/10");
        Click(PowerSystem->Button1);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    ASSERT_TRUE(Dan1->isVisible());
    TDan1& d = *Dan1;
    Choose(d.ComboBox2, "1");
    Choose(d.ComboBox1, "4");
    Type(d.Edit4, "20");
    Type(d.Edit2, "20000");
    Type(d.Edit1, "0,8");
    Type(d.Edit6, "1.1");
    Type(d.Edit5, "25");
    Choose(d.ComboBox3, "В воздухе");
    Choose(d.ComboBox4, "ВВГв4.xml");
    Type(d.Edit7, "К1.1");
    responder_.ExpectMessage("Для данной мощности, нет данных для автомата.", "Предупреждение.",
                             platform::mrOk);
    Click(d.sledychi);
    responder_.VerifyDone();
    EXPECT_EQ(ProjectRoot->SchemeGroups.First, nullptr);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-160/10");
    // The group window opened again offers it, not the first of the base.
    Click(d.ok);
    std::string offered;
    responder_.ExpectModal("TPowerSystem", [&offered](QDialog&) {
        offered = PowerSystem->ComboBox5->currentText().toStdString();
        Click(PowerSystem->Button2);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    responder_.VerifyDone();
    EXPECT_EQ(offered, "ТМ-160/10");
}

}  // namespace
