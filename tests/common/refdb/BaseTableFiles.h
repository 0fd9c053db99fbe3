#pragma once
// Breaker and transformer bases of a test's own, written as the program's files.
#include <string>
#include <vector>

struct BreakerSeriesRow {
    std::string series;
    double minRating;
    double maxRating;
    int poles;
    double multiplicity;
};

struct TransformerBaseRow {
    std::string name;
    double power, uk, losses;
};

// Writes a breaker base ("Avtomat.xml" layout) to the path.
void WriteBreakerBaseFile(const std::string& path, const std::vector<BreakerSeriesRow>& rows);
// Writes a transformer base ("tranform.xml" layout, without the unique index on power, so that
// two transformers of one power may stand in it) to the path.
void WriteTransformerBaseFile(const std::string& path, const std::vector<TransformerBaseRow>& rows);
