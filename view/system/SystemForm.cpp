#include "SystemForm.h"

#include "MoxCommandLine.h"
#include "TMoxMain.h"

namespace {

int g_nModeForTesting = 0;

} // namespace

namespace SystemForm {

bool IsInside(const QWidget* w, const QWidget* container) {
    return w && container && (w == container || container->isAncestorOf(w));
}

int ProgramMode() {
    if (g_nModeForTesting != 0)
        return g_nModeForTesting;
    const TMoxMain* main = TMoxMain::Instance();
    return main ? main->GetMode() : eModeStandard;
}

void SetProgramModeForTesting(int mode) {
    g_nModeForTesting = mode;
}

} // namespace SystemForm
