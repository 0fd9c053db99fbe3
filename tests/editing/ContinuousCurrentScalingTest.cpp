// The edit window scales a cable table's continuous currents for the ambient temperature, in
// memory, until the save point is set back.
#include <gtest/gtest.h>

#include "SelectionFixture.h"
#include "SelectionOnWindows.h"
#include "editing/Shiti12.h"
#include "platform/ClientDataSet.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"

namespace {

using CableLookupTest = OnTheWindows<SelectionTest>;

TEST_F(CableLookupTest, ScalingIsTakenBackBySetSavePoint) {
    const int savePoint = Shiti->ScaleContinuousCurrents(kCopperWire, 0.5);
    ASSERT_GE(savePoint, 0);
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    EXPECT_TRUE(ds.Eof());  // left at its end
    std::vector<double> halved;
    std::vector<double> stored;
    for (const CableRow& row : kCopperWireRows) {
        halved.push_back(row.current * 0.5);
        stored.push_back(row.current);
    }
    EXPECT_EQ(TableColumn(refdb::kContinuousCurrent), halved);
    ds.SetSavePoint(savePoint);
    EXPECT_EQ(TableColumn(refdb::kContinuousCurrent), stored);

    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_EQ(Shiti->ScaleContinuousCurrents("Нет.xml", 0.5), -1);
}

}  // namespace
