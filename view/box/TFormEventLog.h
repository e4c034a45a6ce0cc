#pragma once
// TFormEventLog: the tree's page that reads the box's event log (node kind
// 36) and stores the 16384-byte dump unchanged in a file the user chose.
// It keeps nothing in the document.

#include "TDataView.h"

#include <memory>

#include <array>
#include <cstdint>
#include <string>

class IMainTransfer;
class QLabel;
class QPushButton;

namespace Ui {
class FormEventLog;
}

class TFormEventLog : public TDataView {
    Q_OBJECT

public:
    static constexpr std::uint32_t kDumpSize = 16384;

    // transfer: the main window's transfer controller, not owned; without
    // one the download button stays off.
    TFormEventLog(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                  TkResourcen* res);
    ~TFormEventLog() override;

    void OnFile();
    void OnStartDownload();

    const std::string& GetFileName() const { return m_FileName; }

protected:
    void InitPage() override;

private:
    std::unique_ptr<Ui::FormEventLog> ui;
    IMainTransfer* m_pDataTransfer;
    std::array<std::uint8_t, kDumpSize> m_Dump{};
    std::string m_FileName;

    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* m_pFilename = nullptr;
    QPushButton* m_pDownloadBtn = nullptr;
};
