#include "TPrintCommands.h"

#include "TMoxMain.h"
#include "TMoxMainSeams.h"
#include "TReportPrinter.h"
#include "TSetDruckenDlg.h"

void TPrintCommands::Install(TMoxMainSeams& seams) {
    seams.runPrintDialog = [](TMoxMain& main, std::uint8_t kind) {
        TSetDruckenDlg::Run(&main, kind, main.GetDoc(), main.GetRes(), main.GetMode());
    };
    seams.runPrinterSetup = [](TMoxMain& main) { TReportPrinter::SetupDialog(&main); };
}
