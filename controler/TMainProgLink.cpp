#include "TMainProgLink.h"

#include "TDataTransfer.h"
#include "TTransferExtension.h"

void TMainProgLink::SetResultOwner(TDataTransfer& form, IProgResultOwner* owner) {
    form.GetTransferExtension().GetTlnProg().SetResultOwner(owner);
}

TMainProgSnapshot TMainProgLink::Read(const TDataTransfer& form) {
    const TTlnProg& prog = form.GetTransferExtension().GetTlnProg();
    TMainProgSnapshot s;
    s.boxProg = prog.IsProgModeAktiv();
    s.btlm = prog.IsBTLMAktiv();
    s.video = prog.IsVideo();
    s.bsm = prog.IsBSMAktiv();
    s.kennziffer = prog.GetBSGKenniffer();
    return s;
}

void TMainProgLink::ResetProgData(TDataTransfer& form) {
    form.GetTransferExtension().GetTlnProg().ResetProgData();
}
