#include "SchemeOfTheTree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Canvas.h"
#include "platform/Image.h"

std::vector<std::string> SchemeTexts() {
    std::vector<std::string> texts;
    if (Form2->Image1 == nullptr) return texts;
    const platform::TRecordingDevice* recorder = Form2->Image1->Picture().Canvas()->Recorder();
    if (recorder == nullptr) return texts;
    for (const platform::CanvasOp& op : recorder->Ops())
        if (op.Kind == platform::CanvasOpKind::TextOut) texts.push_back(op.Text);
    return texts;
}

bool SchemeShows(const std::string& text) {
    return std::ranges::count(SchemeTexts(), text) > 0;
}

void ExpectSchemeOfTheTree(const char* what) {
    ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture) << what;
    std::vector<std::string> names;
    for (TGrsed* board : chains::SwitchboardsOf(*ProjectRoot))
        for (TSitid* p : chains::PanelsOf(*board))
            for (TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount))
                names.push_back(g->GroupName);
    const std::vector<std::string> texts = SchemeTexts();
    const auto starting = [&texts](const std::string& prefix) {
        return std::ranges::count_if(texts,
                                     [&](const std::string& t) { return t.starts_with(prefix); });
    };
    EXPECT_EQ(starting("Гр- "), static_cast<long>(names.size())) << what;
    EXPECT_EQ(starting("Imax- "), static_cast<long>(names.size())) << what;
    for (const std::string& name : names)
        EXPECT_EQ(std::ranges::count(texts, "Гр- " + name), 1) << what << ": " << name;
}
