// The cable tables "Щиты" offers for a feeder: the four-core tables of the program folder that
// fit the laying method chosen, in name order.
#include <gtest/gtest.h>

#include "ConnectionFixture.h"
#include "editing/Shiti12.h"

namespace {

using Strings = std::vector<std::string>;

class TableListing : public ConnectionTest {
protected:
    void SetUp() override {
        ConnectionTest::SetUp();
        // A cable table, an empty table that fits and a damaged file beside the shipped ones.
        AddProgramFile("editing/КГТв4.xml", "КГТв4.xml");
        AddProgramFile("editing/Пустаяв4.xml", "Пустаяв4.xml");
        AddProgramFile("editing/Битаяв4.xml", "Битаяв4.xml");
    }
};

struct Listing {
    const char* laying;
    Strings tables;
};

void PrintTo(const Listing& c, std::ostream* os) {
    *os << c.laying;
}

class TablesForALayingMethod : public TableListing,
                               public ::testing::WithParamInterface<Listing> {};

// The breaker and transformer bases and the damaged file are passed over without a message;
// two- and three-core tables, and the empty one, are not offered.
TEST_P(TablesForALayingMethod, AreTheFourCoreTablesWithRows) {
    const Listing& c = GetParam();
    NewProject([&] {
        Choose(Shiti->ComboBox4, c.laying);
        EXPECT_EQ(Items(*Shiti->ComboBox1), c.tables);
        EXPECT_EQ(Shiti->ComboBox1->currentIndex(), -1);
        Click(Shiti->RadioButton2);
        Choose(Shiti->ComboBox5, c.laying);
        EXPECT_EQ(Items(*Shiti->ComboBox3), c.tables);
        EXPECT_EQ(Shiti->ComboBox3->currentIndex(), -1);
    });
    EXPECT_TRUE(responder_.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Methods, TablesForALayingMethod,
    ::testing::Values(Listing{"В воздухе",
                              {"АВВГв4.xml", "АПВв4.xml", "ВВГв4.xml", "КГТв4.xml", "ПВ1в4.xml"}},
                      Listing{"В земле", {"АВВГз4.xml", "ВВГз4.xml"}},
                      Listing{"Четыре провода в трубе", {"АПВт4.xml", "ПВ1т4.xml"}}));

// The folder is read at every choice: a table added meanwhile is offered.
TEST_F(TableListing, IsMadeAnewAtEveryChoice) {
    NewProject([this] {
        Choose(Shiti->ComboBox4, "В земле");
        Choose(Shiti->ComboBox1, "ВВГз4.xml");
        AddProgramFile("editing/КГТв4.xml", "КГТз4.xml");
        Choose(Shiti->ComboBox4, "Четыре провода в трубе");
        Choose(Shiti->ComboBox4, "В земле");
        EXPECT_EQ(Items(*Shiti->ComboBox1), (Strings{"АВВГз4.xml", "ВВГз4.xml"}));
        Choose(Shiti->ComboBox4, "В воздухе");
        EXPECT_EQ(Items(*Shiti->ComboBox1), (Strings{"АВВГв4.xml", "АПВв4.xml", "ВВГв4.xml",
                                                     "КГТв4.xml", "КГТз4.xml", "ПВ1в4.xml"}));
    });
}

}  // namespace
