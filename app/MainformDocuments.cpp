// The main window's operations of the drawings, the preview, printing and the result tables. Their
// bodies are written with the drawing and document code; until then each one only reports the
// call, so that the commands leading to it can be followed.
#include "app/Mainform.h"
#include "platform/Conversions.h"

namespace {

std::string Call(const char* operation, const std::vector<std::string>& arguments = {}) {
    std::string call = std::string(operation) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) call += (i > 0 ? ", " : "") + arguments[i];
    return call + ")";
}

std::string Int(int value) {
    return platform::IntToStr(value);
}

}  // namespace

void TForm1::ReportPendingOperation(const std::string& call) {
    if (OnPendingOperation) OnPendingOperation(call);
}

void TForm1::ChoosePanelDialog() {
    ReportPendingOperation(Call("ChoosePanelDialog"));
}

void TForm1::ShowNetworkResults() {
    ReportPendingOperation(Call("ShowNetworkResults"));
}

void TForm1::ShowSupplyNetworkScheme() {
    ReportPendingOperation(Call("ShowSupplyNetworkScheme"));
}

void TForm1::PrintDocument(int documentKind, int pageCount) {
    ReportPendingOperation(Call("PrintDocument", {Int(documentKind), Int(pageCount)}));
}

void TForm1::BuildPreviewSheet(int titleFontSize, int titleX, const std::string& title) {
    ReportPendingOperation(Call("BuildPreviewSheet", {Int(titleFontSize), Int(titleX), title}));
}

void TForm1::FitPreviewImage(int width, int pageCount) {
    ReportPendingOperation(Call("FitPreviewImage", {Int(width), Int(pageCount)}));
}

int TForm1::DocumentPageCount(int /*documentKind*/) {
    return 0;
}

void TForm1::FillCableJournal(int journalKind, int number) {
    ReportPendingOperation(Call("FillCableJournal", {Int(journalKind), Int(number)}));
}
