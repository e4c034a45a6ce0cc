#include "ICodeProg.h"

#include "IMainTransfer.h"
#include "TCodeProgForward.h"
#include "TMainDataTransfer.h"
#include "TTlnProgCodeProg.h"

std::unique_ptr<ICodeProg> TCodeProgLink::Of(IMainTransfer* transfer) {
    // A controller that answers the interface itself is borrowed, not owned.
    if (auto* own = dynamic_cast<ICodeProg*>(transfer))
        return std::make_unique<TCodeProgForward<ICodeProg>>(*own);
    if (auto* main = dynamic_cast<TMainDataTransfer*>(transfer))
        return TTlnProgCodeProg::Of(main->Form());
    return nullptr;
}
