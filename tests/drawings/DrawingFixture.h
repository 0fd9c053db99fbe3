#pragma once
// The application with a project tree built by hand for the panel pictures: the group records
// and the per-phase result rows are set directly, as the calculation would leave them, so that
// every expected value follows from the drawing rules alone. Every canvas records what it draws.
#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "CanvasOps.h"
#include "model/Classd.h"
#include "platform/Canvas.h"

// A group line as the pictures read it.
struct TestGroup {
    std::string name;
    long double power = 0;  // kW
    double length = 0;      // m
    double section = 0;     // mm2
    std::string material;   // "Медь" gives the line a voltage loss; "" none
    std::string breakerType = "ВА47";
    double breakerRating = 16;  // A
    std::string cableBrand = "ВВГ";
};

// A group line of that name and power, the rest as above.
TestGroup NamedGroup(const std::string& name, long double power);

class DrawingTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // An empty open project.
    void NewProject();
    TGrsed* AddSwitchboard(int number);
    TSitid* AddPanel(TGrsed* sw, int number);
    // A single-phase line on phase 0, 1 or 2 (A, B, C) in a row of three of its own.
    TCxemaGrupd* AddSingle(TSitid* panel, const TestGroup& group, int phase, double current);
    // A two-phase line: the power and current of each phase (power 0: the unused one, whose row
    // stays blank).
    TCxemaGrupd* AddTwo(TSitid* panel, const TestGroup& group,
                        std::array<long double, 3> phasePowers, std::array<double, 3> currents,
                        bool balanced);
    // A three-phase line; the phase numbers 1, 2, 3 unless given.
    TCxemaGrupd* AddThree(TSitid* panel, const TestGroup& group,
                          std::array<long double, 3> phasePowers, std::array<double, 3> currents,
                          bool balanced, std::array<int, 3> phaseNumbers = {1, 2, 3});
    // The panel's own figures as the calculation leaves them: installed 12 kW, design 10.26 kW,
    // own currents A 18.2, B 9.1, C 13.6, N 7.9 and design 16.5 A; a loss of 2.5 % up to it on
    // phase C, the largest, 0 on A and B.
    static void GiveFigures(TSitid* panel);
    // Makes the panel and its switchboard current.
    static void MakeCurrent(TGrsed* sw, TSitid* panel);
    // Switchboard 1 with two direct panels of 3 and 5 single-phase groups of 1 kW: the general
    // scheme is 1120 x 940 px at 100 % (a picture of 1800 x 1200), 560 x 620 at 50 % (900 x 1200).
    void AddTwoPanelSwitchboard();

    // What the scheme window's picture recorded; empty without one.
    const std::vector<platform::CanvasOp>& Ops() const;

    platform::CanvasRecordingScope recording_;
};

// The recorded texts, lines (start and end), rectangles and ellipses.
struct PlacedText {
    int x;
    int y;
    std::string text;
    friend bool operator==(const PlacedText&, const PlacedText&) = default;
};
struct DrawnLine {
    int x1;
    int y1;
    int x2;
    int y2;
    bool dashed = false;
    friend bool operator==(const DrawnLine&, const DrawnLine&) = default;
};
std::vector<PlacedText> TextsOf(const std::vector<platform::CanvasOp>& ops);
std::vector<DrawnLine> LinesOf(const std::vector<platform::CanvasOp>& ops);
// Texts drawn at x, in order.
std::vector<std::string> TextsAt(const std::vector<platform::CanvasOp>& ops, int x, int y);
bool Has(const std::vector<DrawnLine>& lines, const DrawnLine& line);
bool Has(const std::vector<PlacedText>& texts, const PlacedText& text);
// The rectangles of the operations of one kind, in order.
std::vector<platform::TRect> RectsOf(const std::vector<platform::CanvasOp>& ops,
                                     platform::CanvasOpKind kind);
// Texts that begin with the prefix.
int Count(const std::vector<PlacedText>& texts, const std::string& prefix);

// A pixel of a raster picture and the colour it must have.
struct PixelProbe {
    int x;
    int y;
    platform::TColor colour;
};
void ExpectPixels(const platform::TCanvas& canvas, const std::vector<PixelProbe>& probes);

// Element by element, so that a failure names the first items that differ.
template <typename T>
void ExpectSameList(const std::vector<T>& actual, const std::vector<T>& expected) {
    const std::size_t n = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(actual[i], expected[i]) << "item " << i;
    EXPECT_EQ(actual.size(), expected.size());
}

std::ostream& operator<<(std::ostream& out, const PlacedText& text);
std::ostream& operator<<(std::ostream& out, const DrawnLine& line);
