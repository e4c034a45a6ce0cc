#pragma once
// TFormFirmware: the tree's page that loads firmware into the box or the
// camera device (node kind 34). The user picks a download file; the page
// checks its header and checksum and shows its device, version, date and
// time; the download button hands the file to the transfer controller and
// runs it modally. The page edits nothing in the document.

#include "TDataView.h"

#include <memory>

#include "HeaderRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IFirmwareFileHolder;
class IMainTransfer;
class QLabel;
class QPushButton;

namespace Ui {
class FormFirmware;
}

class TFormFirmware : public TDataView {
    Q_OBJECT

public:
    // The buffer handed to the controller: room for the largest image.
    static constexpr std::uint32_t kTransferBufferSize = 0xC0000;
    static constexpr int kDeviceNone = 255;

    TFormFirmware(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                  TkResourcen* res);
    ~TFormFirmware() override;

    void OnSelectFirmware();
    void OnStartDownload();

    // The kept file, empty when none.
    std::string GetKeptFileName() const { return m_pFirmwareFilename.value_or(std::string()); }
    int GetDeviceResult() const { return m_nDevice; }
    const HeaderRecord& GetHeader() const { return m_Header; }

    // 0 (box), 1 (camera device) or 255 (no valid header) for the file;
    // fills the page's header copy.
    int ReadDLFileHeader(const std::string& fileName);
    // The 16-bit sum over `blocks` blocks of the kept file against
    // `expected`; a block that cannot be read whole is reported.
    bool BuildChecksum(std::uint16_t blocks, std::uint16_t expected);

protected:
    void InitPage() override;
    void OnConnectionChanged(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    void CheckFile();
    void ShowFileHeader();
    void DropFile();
    bool Connected() const;
    void ShowFWBox(int textId);

    std::unique_ptr<Ui::FormFirmware> ui;
    IMainTransfer* m_pDataTransfer;
    IFirmwareFileHolder* m_pFileHolder = nullptr;
    std::optional<std::string> m_pFirmwareFilename;
    int m_nDevice = kDeviceNone;
    std::uint64_t m_nFileSize = 0;
    std::uint16_t m_nCodeLength = 0;
    HeaderRecord m_Header;
    std::vector<std::uint8_t> m_Buffer;
    bool m_bShownOnce = false;

    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* m_pFilename = nullptr;
    QLabel* m_pLabelFileDevice = nullptr;
    QLabel* m_pLabelFileVersion = nullptr;
    QLabel* m_pLabelFileDate = nullptr;
    QLabel* m_pLabelFileTime = nullptr;
    QLabel* m_pConnectionString = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* m_pDownloadBtn = nullptr;
};
