#include "BaseTableFiles.h"

#include "platform/ClientDataSet.h"
#include "refdb/TableSchemas.h"

void WriteBreakerBaseFile(const std::string& path, const std::vector<BreakerSeriesRow>& rows) {
    platform::TClientDataSet ds;
    refdb::DefineBreakerTable(ds);
    ds.CreateDataSet();
    for (const BreakerSeriesRow& row : rows) {
        ds.Append();
        ds.FieldByName("Серии").SetAsString(row.series);
        ds.FieldByName("Мин. ном. ток. А").SetAsFloat(row.minRating);
        ds.FieldByName("Мак. ном. ток А").SetAsFloat(row.maxRating);
        ds.FieldByName("Число полюсов").SetAsInteger(row.poles);
        ds.FieldByName("Кратность тока при КЗ").SetAsFloat(row.multiplicity);
        ds.Post();
    }
    ds.SaveToFile(path);
    ds.SetFileName("");
    ds.Close();
}

void WriteTransformerBaseFile(const std::string& path,
                              const std::vector<TransformerBaseRow>& rows) {
    platform::TClientDataSet ds;
    refdb::DefineTransformerTable(ds);
    ds.IndexDefs().Clear();
    ds.CreateDataSet();
    for (const TransformerBaseRow& row : rows) {
        ds.Append();
        ds.FieldByName("Трансформатор").SetAsString(row.name);
        ds.FieldByName("Мощность кВА").SetAsFloat(row.power);
        ds.FieldByName("Напряжение к.з. %").SetAsFloat(row.uk);
        ds.FieldByName("Потери к.з. Вт").SetAsFloat(row.losses);
        ds.Post();
    }
    ds.SaveToFile(path);
    ds.SetFileName("");
    ds.Close();
}
