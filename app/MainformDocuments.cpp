// The main window's hook for operations of the drawings and documents still to be written: until
// its body is written, an operation only reports the call, so that the commands leading to it can
// be followed.
#include "app/Mainform.h"

void TForm1::ReportPendingOperation(const std::string& call) {
    if (OnPendingOperation) OnPendingOperation(call);
}
