#include "TTkDataMsg.h"

#include "TransferTrace.h"

void TTkDataMsg::Dump() const {
    TransferTraceBytes(eTraceTDump, "\tMSGDUMP: ", GetBuffer(), GetLen());
}
