#pragma once
// What a document needs around it in a test without the main window: a
// folder of its own, a language file with the texts the document shows, an
// empty res/ folder (no SMS default files), pre-answered error boxes, and
// the main window's language refresh and message box as recorders. Settings
// stay where the process's settings file is (the bus control's registration
// lives there too).

#include "IDocLanguageRefresh.h"
#include "IDocMessageBox.h"
#include "IDocTransfer.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"

#include <memory>
#include <string>
#include <vector>

class E2eDocuments : public IDocLanguageRefresh, public IDocMessageBox {
public:
    E2eDocuments();
    ~E2eDocuments() override;
    E2eDocuments(const E2eDocuments&) = delete;
    E2eDocuments& operator=(const E2eDocuments&) = delete;

    // A new, unnamed document with its defaults, on the given controller.
    std::unique_ptr<TMoxDocument> Make(IDocTransfer* transfer);
    const std::string& Dir() const { return m_Dir; }

    // The image a document's record gives (to tell whether it changed).
    static std::vector<std::uint8_t> ImageOf(const TMoxDocument& doc);

    void RefreshLanguage() override {}
    int ShowMessage(int textId, const std::string& text, const std::string& caption,
                    eDocMsgIcon icon, eDocMsgButtons buttons) override;
    std::vector<std::string> messages;

private:
    std::string m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
};
