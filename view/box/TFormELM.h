#pragma once
// TFormELM: the tree's page of the event listing (node kind 37, expert
// mode). It reads the box's event log into a temporary dump file, decodes
// it into a text listing and shows that read-only; the user can save the
// listing as a text file and open a saved one again. It keeps nothing in
// the document.
//
// The unsaved flag is set while the listing holds text from the box or
// from a file that was not saved since; leaving the page then offers the
// save dialog once.

#include "TDataView.h"

#include <memory>

#include <array>
#include <cstdint>
#include <string>

class IMainTransfer;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace Ui {
class FormELM;
}

class TFormELM : public TDataView {
    Q_OBJECT

public:
    static constexpr std::uint32_t kDumpSize = 16384;

    TFormELM(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder, TkResourcen* res);
    ~TFormELM() override;

    void OnStartDownloadBtnClick();
    void OnOpenFileBtnClick();
    void OnSaveAsBtnClick();

    bool IsUnsaved() const { return m_bUnsaved; }

protected:
    void InitPage() override;
    void OnCloseQuery(bool& canClose) override;

private:
    void SetStatus(const QString& text);
    // Runs the save dialog and writes the listing; false when cancelled,
    // refused or not written.
    bool SaveListing();
    // Replaces the listing by the text file; false when it cannot be read.
    bool LoadListing(const std::string& path);
    bool HasLines() const;
    void ReleaseTempFiles();

    std::unique_ptr<Ui::FormELM> ui;
    IMainTransfer* m_pDataTransfer;
    std::array<std::uint8_t, kDumpSize> m_Dump{};
    std::string m_TempA; // the raw dump of the last read
    std::string m_TempB; // its listing
    bool m_bUnsaved = false;

    QPlainTextEdit* m_pELMRichText = nullptr;
    QPushButton* m_pSaveAsBtn = nullptr;
    QPushButton* m_pOpenFileBtn = nullptr;
    QPushButton* m_pDownloadBtn = nullptr;
    QLabel* m_szStatus = nullptr;
};
