#include "TTlnProgCodeProg.h"

#include "TCodeProgForward.h"
#include "TDataTransfer.h"
#include "TTlnProg.h"
#include "TTransferExtension.h"

std::unique_ptr<ICodeProg> TTlnProgCodeProg::Of(TDataTransfer& form) {
    return std::make_unique<TCodeProgForward<TTlnProg>>(form.GetTransferExtension().GetTlnProg());
}
