#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "platform/Choices.h"

namespace {

struct ChooseTextCase {
    const char* name;
    const char* text;
    bool found;
    int chosen;                // the item chosen afterwards
    std::vector<int> visited;  // the items chosen on the way, in order
};

// Items: "7" "12" "7" "3(7)"; the list starts on "12".
const ChooseTextCase kChooseTextCases[] = {
    {"Repeated", "7", true, 2, {0, 2}},       // every "7" in turn: the last one stays
    {"WholeTextOnly", "3(7)", true, 3, {3}},  // the whole text only, not a part of it
    {"AlreadyChosen", "12", true, 1, {}},     // already chosen: nothing changes
    {"NotListed", "1", false, 1, {}},         // no item shows it: the choice stays
    {"Empty", "", false, 1, {}},
};

class ChooseText : public testing::TestWithParam<ChooseTextCase> {};

TEST_P(ChooseText, ChoosesEveryItemShowingTheTextTheLastStays) {
    const ChooseTextCase& c = GetParam();
    QComboBox combo;
    combo.addItems({"7", "12", "7", "3(7)"});
    combo.setCurrentIndex(1);
    QSignalSpy changes(&combo, &QComboBox::currentIndexChanged);

    EXPECT_EQ(platform::ChooseText(combo, c.text), c.found);
    EXPECT_EQ(combo.currentIndex(), c.chosen);
    std::vector<int> visited;
    for (const QList<QVariant>& change : changes) visited.push_back(change.at(0).toInt());
    EXPECT_EQ(visited, c.visited);
}

INSTANTIATE_TEST_SUITE_P(Choices, ChooseText, testing::ValuesIn(kChooseTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
