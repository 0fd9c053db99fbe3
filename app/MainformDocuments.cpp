// The main window's operations of the general scheme, the result tables and the journals. Their
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

void TForm1::FillCableJournal(int journalKind, int number) {
    ReportPendingOperation(Call("FillCableJournal", {Int(journalKind), Int(number)}));
}
