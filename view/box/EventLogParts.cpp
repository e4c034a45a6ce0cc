#include "EventLogParts.h"

#include "BoxFiles.h"
#include "BoxTextIds.h"
#include "IMainTransfer.h"
#include "TDataView.h"
#include "TFileDialog.h"
#include "TMsgBox.h"

#include <QPointer>

#include <algorithm>

namespace logpage {

namespace {
// The transfer mode that reads the event log.
constexpr int kModeEventLog = 7;
} // namespace

int ReadDump(IMainTransfer& transfer, const char* infoText, std::uint8_t* dump,
             std::uint32_t size) {
    std::fill(dump, dump + size, std::uint8_t{0xFF});
    transfer.SetTransferData(kModeEventLog, dump, size);
    transfer.SetInfoText(infoText);
    return transfer.ShowModal();
}

std::string ChooseSaveFile(TDataView* page, const QString& initial, const QString& title) {
    const QString chosen =
        TFileDialog::GetSaveFileName(page, QString::fromLatin1(kFilter), initial,
                                     /*confirmOverwrite=*/false, // asked below, text 33
                                     title, QString::fromLatin1(kDefaultExt));
    if (chosen.isEmpty())
        return {};
    std::string name = BoxFiles::WithDefaultExtension(chosen.toStdString(), kDefaultExt);
    const QPointer<TDataView> self(page);
    if (BoxFiles::Exists(name) &&
        page->ShowMsg(btxt::kOverwrite, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return {};
    if (!self)
        return {};
    return name;
}

} // namespace logpage
