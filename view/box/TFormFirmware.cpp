#include "TFormFirmware.h"

#include "ui_TFormFirmware.h"

#include "BoxTextIds.h"
#include "DbgOut.h"
#include "IFirmwareFileHolder.h"
#include "IMainTransfer.h"
#include "MoxQString.h"
#include "TDownloadFile.h"
#include "TFileDialog.h"
#include "TInvariant.h"
#include "TMsgBox.h"
#include "TkResourcen.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

constexpr int kHelpPage = 400;
constexpr int kModeFirmware = 8;

} // namespace

TFormFirmware::TFormFirmware(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                             TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormFirmware>()),
      m_pDataTransfer(transfer), m_pFileHolder(dynamic_cast<IFirmwareFileHolder*>(transfer)),
      m_Buffer(kTransferBufferSize, 0) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    Label2 = ui->Label2;
    Label5 = ui->Label5;
    m_pFilename = ui->m_pFilename;
    m_pLabelFileDevice = ui->m_pLabelFileDevice;
    m_pLabelFileVersion = ui->m_pLabelFileVersion;
    m_pLabelFileDate = ui->m_pLabelFileDate;
    m_pLabelFileTime = ui->m_pLabelFileTime;
    m_pConnectionString = ui->m_pConnectionString;
    BitBtn1 = ui->BitBtn1;
    m_pDownloadBtn = ui->m_pDownloadBtn;

    connect(BitBtn1, &QPushButton::clicked, this, &TFormFirmware::OnSelectFirmware);
    connect(m_pDownloadBtn, &QPushButton::clicked, this, &TFormFirmware::OnStartDownload);
}

TFormFirmware::~TFormFirmware() = default;

void TFormFirmware::InitPage() {
    MOX_INVARIANT(m_pRes);
    if (!m_pDataTransfer)
        DbgOut(eDbgView, "<TFormFirmware> no transfer controller yet");
    m_Header.Clear();
    m_nDevice = kDeviceNone;
    m_pConnectionString->setText(
        m_pDataTransfer ? MoxToQString(m_pDataTransfer->GetConnectionText()) : QString());
}

bool TFormFirmware::Connected() const {
    return m_pDataTransfer && m_pDataTransfer->IsConnected();
}

void TFormFirmware::ShowFWBox(int textId) {
    TMsgBox::Show(this, textId, m_pRes->GetQText(textId), m_pRes->GetQText(btxt::kFWCaption),
                  mb::kOk | mb::kIconStop);
}

void TFormFirmware::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    // The page is shown again whenever its window is; the file the
    // controller kept is taken over on the first showing only.
    if (m_bShownOnce)
        return;
    m_bShownOnce = true;
    std::string kept;
    if (!m_pFileHolder || !m_pFileHolder->GetFWFileName(kept) || kept.empty())
        return;
    MOX_INVARIANT(!m_pFirmwareFilename);
    m_pFirmwareFilename = kept;
    CheckFile();
    ShowFileHeader();
}

void TFormFirmware::OnSelectFirmware() {
    const QPointer<TFormFirmware> self(this);
    const QString chosen = TFileDialog::GetOpenFileName(this, m_pRes->GetQText(btxt::kFWFilter),
                                                        m_pRes->GetQText(btxt::kFWDialogTitle),
                                                        m_pRes->GetQText(btxt::kFWDefExt));
    if (!self || chosen.isEmpty())
        return;
    const std::string name = chosen.toStdString();
    std::error_code ec;
    if (!std::filesystem::exists(name, ec))
        return;

    m_pFirmwareFilename = name;
    CheckFile();
    if (!self)
        return;
    ShowFileHeader();
    if (m_pFirmwareFilename && m_pFileHolder)
        m_pFileHolder->SetFWFileName(*m_pFirmwareFilename);
    // Also for a dropped file: the download dialog can load one itself.
    m_pDownloadBtn->setEnabled(Connected());
    m_pConnectionString->setText(
        m_pDataTransfer ? MoxToQString(m_pDataTransfer->GetConnectionText()) : QString());
}

int TFormFirmware::ReadDLFileHeader(const std::string& fileName) {
    DbgOut(eDbgTDump, "ReadDLFileHeader\n");
    m_Header.Clear();
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(fileName, ec);
    if (ec || !std::filesystem::is_regular_file(fileName, ec))
        return kDeviceNone;
    std::array<std::uint8_t, kDLHeaderLen> head{};
    std::ifstream in(fileName, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    HeaderRecord header;
    const eDLFileCheck check =
        CheckDLHeader(std::span<const std::uint8_t>(head.data(), got), size, header);
    m_Header = header;
    m_Header.Trace("File: ");
    DbgOut(eDbgTDump, "File: HeaderRecord.CheckSum( 0x%04X ) ", m_Header.CheckSum);
    if (check != eDLFileOk) {
        DbgOut(eDbgTDump, "ReadDLFileHeader: %s", DLFileCheckName(check));
        return kDeviceNone;
    }
    m_nCodeLength = m_Header.CodeLength;
    return m_Header.Device;
}

bool TFormFirmware::BuildChecksum(std::uint16_t blocks, std::uint16_t expected) {
    if (!m_pFirmwareFilename)
        return false;
    std::ifstream in(*m_pFirmwareFilename, std::ios::binary);
    std::vector<std::uint8_t> image;
    image.reserve(static_cast<std::size_t>(blocks) * kDLBlockLen);
    std::array<std::uint8_t, kDLBlockLen> block{};
    for (std::uint16_t n = 0; n < blocks; ++n) {
        in.read(reinterpret_cast<char*>(block.data()), block.size());
        if (static_cast<std::size_t>(in.gcount()) != block.size()) {
            TMsgBox::Show(this, btxt::kFWUnreadable, m_pRes->GetQText(btxt::kFWUnreadable),
                          m_pRes->GetQText(1002), mb::kOkCancel | mb::kIconStop);
            return false;
        }
        image.insert(image.end(), block.begin(), block.end());
    }
    const std::uint16_t sum = BuildDLChecksum(image);
    if (sum != expected) {
        DbgOut(eDbgTDump, "ERROR wTestCheckSum(0x%04X) != wCheck(0x%04X) ", sum, expected);
        return false;
    }
    DbgOut(eDbgTDump, "wTestCheckSum(0x%04X) == wCheck(0x%04X) ", sum, expected);
    return true;
}

void TFormFirmware::CheckFile() {
    if (!m_pFirmwareFilename)
        return;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(*m_pFirmwareFilename, ec);
    m_nFileSize = ec ? 0 : size;
    m_nDevice = ReadDLFileHeader(*m_pFirmwareFilename);
    if (m_nDevice == kDeviceNone) {
        ShowFWBox(btxt::kFWBadHeader);
    } else if (!BuildChecksum(m_nCodeLength, m_Header.CheckSum)) {
        m_nDevice = kDeviceNone;
        ShowFWBox(btxt::kFWBadChecksum);
    }
    if (m_nDevice == kDeviceNone)
        DropFile();
}

void TFormFirmware::DropFile() {
    m_pFirmwareFilename.reset();
    m_Header.Clear();
    m_nCodeLength = 0;
    m_nFileSize = 0;
}

void TFormFirmware::ShowFileHeader() {
    m_pFilename->setText(m_pFirmwareFilename ? QString::fromStdString(*m_pFirmwareFilename)
                                             : QString());
    if (m_nDevice != eFWDeviceKTX && m_nDevice != eFWDeviceKMR) {
        for (QLabel* l :
             {m_pLabelFileDevice, m_pLabelFileVersion, m_pLabelFileDate, m_pLabelFileTime})
            l->setText(m_pRes->GetQText(btxt::kNotPresent));
        return;
    }
    m_pLabelFileVersion->setText(MoxToQString(m_Header.GetVersion()));
    m_pLabelFileDate->setText(MoxToQString(m_Header.GetDateText()));
    m_pLabelFileTime->setText(MoxToQString(m_Header.GetTimeText()));
    if (m_pFirmwareFilename)
        m_pDownloadBtn->setEnabled(Connected());
    const int deviceText = m_Header.Device == eFWDeviceKTX   ? btxt::kFWDeviceBox
                           : m_Header.Device == eFWDeviceKMR ? btxt::kFWDeviceKMR
                                                             : btxt::kNotPresent;
    m_pLabelFileDevice->setText(m_pRes->GetQText(deviceText));
}

void TFormFirmware::OnConnectionChanged(TMessage&) {
    if (m_pFirmwareFilename)
        m_pDownloadBtn->setEnabled(Connected());
    m_pConnectionString->setText(
        m_pDataTransfer ? MoxToQString(m_pDataTransfer->GetConnectionText()) : QString());
}

void TFormFirmware::OnStartDownload() {
    if (!m_pDataTransfer)
        return;
    m_pDataTransfer->SetTransferData(kModeFirmware, m_Buffer.data(), kTransferBufferSize);
    if (m_pFirmwareFilename && m_pFileHolder)
        m_pFileHolder->SetFWFileName(*m_pFirmwareFilename);
    // The run reports its outcome itself.
    const int result = m_pDataTransfer->ShowModal();
    DbgOut(eDbgView, "<TFormFirmware::OnStartDownload> result %d", result);
}
