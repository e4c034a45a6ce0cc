// TMoxMain: the document and box commands, the save question, help, the
// wizard and the about box.

#include "TMoxMain.h"

#include "ui_TMoxMain.h"

#include "DbgOut.h"
#include "IAssistent.h"
#include "IMainTransfer.h"
#include "MainTextIds.h"
#include "MoxQString.h"
#include "PermSettings.h"
#include "TAboutDlg.h"
#include "TDataView.h"
#include "TFileDialog.h"
#include "THelpWindow.h"
#include "TIsdnLink.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TRecentFileList.h"
#include "TWebPage.h"
#include "TextSubst.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QFile>

#include <filesystem>

namespace {

// Help commands as the help system numbers them.
enum eHelpCommand : int {
    eHelpContext = 1,
    eHelpQuit = 2,
    eHelpIndex = 3,
    eHelpHelpOnHelp = 4,
    eHelpContextMenu = 10,
    eHelpFinder = 11,
    eHelpWmHelp = 12,
};

// The tree's own help context: the page's context is asked for in its place.
constexpr int kTreeHelpContext = 2601;

std::string ToFsName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromFsName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

// Why the ISDN link refused a dial, for the installer.
int DialRefusalText(int result) {
    // The dialogs refuse numbers too long for the call; what is left is a
    // call already under way, or a link that cannot call at all.
    return result == eIsdnDialCallUp ? mtxt::kDialCallUp : mtxt::kDialFailed;
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

} // namespace

// ---------------------------------------------------------------- save question

bool TMoxMain::QuerySave() {
    MOX_INVARIANT(m_pDoc);
    if (m_pAktView) {
        if (!m_pAktView->CloseQuery())
            return false;
        m_pAktView->Perform(WM_SAVE, -1, -1);
    }
    if (!m_pDoc->IsModified())
        return true;
    switch (Msg(mtxt::kAskSave, mb::kYesNoCancel | mb::kIconQuestion)) {
    case mb::kIdYes:
        // Going on is right only when the edits are really on disk: a failed
        // save or a cancelled name dialog stops the caller.
        return OnSaveDocument() && !m_pDoc->IsModified();
    case mb::kIdNo:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- document commands

void TMoxMain::OnNewDocument() {
    DbgOut(eDbgView, "<TMoxMain::OnNewDocument>");
    MOX_INVARIANT(m_pDoc);
    if (!QuerySave())
        return;
    m_pDoc->NewDocument();
    m_pDoc->SetFresh(false);
    m_bDefaultsLoaded = false;
    SetStatusNoFile();
    SendToView(WM_OPEN, 0, 0);
    BuildKonfigTree();
    UpdateControls();
    SendToView(WM_OPEN, -1, -1);
}

QString TMoxMain::WithFileReason(QString text) const {
    // Why it failed, when the document knows.
    if (const int reason = m_pDoc->GetLastFileErrorTextId(); reason && m_pRes->GetText(reason))
        text += QLatin1Char('\n') + Text(reason);
    return text;
}

void TMoxMain::ShowOpenFailure(const std::string& name) {
    const QString text = MoxToQString(TextSubst(m_pRes->GetText(mtxt::kOpenFailed), {name}));
    MsgText(mtxt::kOpenFailed, WithFileReason(text), mb::kOk | mb::kIconStop);
}

void TMoxMain::OnOpenDocument() {
    DbgOut(eDbgView, "<TMoxMain::OnOpenDocument>");
    MOX_INVARIANT(m_pDoc);
    if (!QuerySave())
        return;
    const QString chosen = TFileDialog::GetOpenFileName(this, Text(mtxt::kFileFilter));
    if (chosen.isEmpty())
        return;
    const std::string name = ToFsName(chosen);
    if (FileExists(name)) {
        // A file that cannot be read leaves the document as it was: its
        // name never becomes the document's.
        if (m_pDoc->OpenDocument(name.c_str())) {
            m_bDefaultsLoaded = false;
            m_pDoc->SetFresh(false);
            SetStatusFile(FromFsName(m_pDoc->GetFileName()));
            AddRecent(m_pDoc->GetFileName());
        } else {
            ShowOpenFailure(name);
        }
    } else {
        ShowOpenFailure(name);
    }
    BuildKonfigTree();
    SendToView(WM_OPEN, -1, -1);
    UpdateControls();
}

bool TMoxMain::OnSaveDocument() {
    DbgOut(eDbgView, "<TMoxMain::OnSaveDocument>");
    MOX_INVARIANT(m_pDoc);
    SendToView(WM_SAVE, -1, -1);
    bool ok = true;
    if (m_pDoc->IsModified()) {
        if (m_pDoc->IsUnnamed()) {
            ok = OnSaveAsDocument();
        } else {
            ok = m_pDoc->WriteDocument(nullptr, false);
            if (!ok)
                ShowSaveFailure();
        }
    }
    UpdateControls();
    return ok;
}

void TMoxMain::ShowSaveFailure() {
    MsgText(mtxt::kSaveFailed, WithFileReason(Text(mtxt::kSaveFailed)), mb::kOk | mb::kIconStop);
}

std::string TMoxMain::ChooseSaveName() {
    const char* current = m_pDoc->GetFileName();
    QString proposed = current ? FromFsName(current) : QString();
    for (;;) {
        // The dialog must not ask itself: it would ask about the name as
        // typed, while the document appends ".ktx" to most names and writes
        // another file. The question below is about the file really written.
        const QString chosen = TFileDialog::GetSaveFileName(this, Text(mtxt::kFileFilter), proposed,
                                                            /*confirmOverwrite=*/false, QString(),
                                                            QStringLiteral("ktx"));
        if (chosen.isEmpty())
            return {};
        const std::string name = TMoxDocument::ApplyNamingRule(ToFsName(chosen).c_str());
        std::error_code ec;
        if (!std::filesystem::exists(name, ec))
            return name;
        if (Msg(mtxt::kOverwrite, mb::kYesNo | mb::kIconQuestion) == mb::kIdYes)
            return name;
        // As the standard dialog does: back to choosing, with the name given.
        proposed = chosen;
    }
}

bool TMoxMain::OnSaveAsDocument() {
    DbgOut(eDbgView, "<TMoxMain::OnSaveAsDocument>");
    MOX_INVARIANT(m_pDoc);
    SendToView(WM_SAVE, -1, -1);
    const std::string name = ChooseSaveName();
    if (name.empty()) {
        UpdateControls();
        return false;
    }
    const bool ok = m_pDoc->WriteDocument(name.c_str(), false);
    if (ok) {
        m_bDefaultsLoaded = false;
        SetStatusFile(FromFsName(m_pDoc->GetFileName()));
        AddRecent(m_pDoc->GetFileName());
    } else {
        ShowSaveFailure();
    }
    UpdateControls();
    return ok;
}

void TMoxMain::OnRecentFile() {
    DbgOut(eDbgView, "<TMoxMain::OnRecentFile>");
    MOX_INVARIANT(m_pDoc);
    if (!QuerySave())
        return;
    const std::string name = m_pRecentFiles->GetEntry(0);
    if (name.empty() || !FileExists(name)) {
        Msg(mtxt::kFileMissing, mb::kOk | mb::kIconStop);
        UpdateControls();
        return;
    }
    if (m_pDoc->OpenDocument(name.c_str())) {
        m_bDefaultsLoaded = false;
        m_pDoc->SetFresh(false);
        SetStatusFile(FromFsName(m_pDoc->GetFileName()));
        BuildKonfigTree();
        SendToView(WM_OPEN, 0, 0);
    } else {
        ShowOpenFailure(name);
    }
    UpdateControls();
}

void TMoxMain::OnResetPage() {
    DbgOut(eDbgView, "<TMoxMain::OnResetPage>");
    MOX_INVARIANT(m_pAktView);
    SendToView(WM_RESTORE, -1, -1);
    UpdateControls();
}

std::string TMoxMain::DefaultsPath() const {
    // Beside the program, whatever the working directory: the program's own
    // folder first, then its res/ folder, where the build puts the file.
    const std::filesystem::path dir(TkResourcen::ProgramDir());
    for (const auto& candidate : {dir / "mox.def", dir / "res" / "mox.def"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return (dir / "mox.def").string();
}

// ---------------------------------------------------------------- box commands

bool TMoxMain::ReadBox() {
    MOX_INVARIANT(m_pDoc);
    const std::uint8_t types[4] = {m_pDoc->GetTypeIT(), m_pDoc->GetTypeKMR(), m_pDoc->GetTypeRAK(),
                                   m_pDoc->GetTypeBSM()};
    if (!m_pDoc->ReadAnlDataFromComPort()) {
        UpdateControls();
        Msg(mtxt::kReadFailed, mb::kOk | mb::kIconStop);
        return false;
    }
    Msg(mtxt::kReadOk, mb::kOk | mb::kIconInformation);
    const bool changed = types[0] != m_pDoc->GetTypeIT() || types[1] != m_pDoc->GetTypeKMR() ||
                         types[2] != m_pDoc->GetTypeRAK() || types[3] != m_pDoc->GetTypeBSM();
    if (changed)
        BuildKonfigTree();
    SendToView(WM_OPEN, -1, -1);
    if (changed)
        SendToView(WM_OPEN, -1, -1);
    UpdateControls();
    return true;
}

void TMoxMain::OnReadBox() {
    DbgOut(eDbgView, "<TMoxMain::OnReadBox>");
    if (!QuerySave())
        return;
    ReadBox();
}

void TMoxMain::OnWriteBox() {
    DbgOut(eDbgView, "<TMoxMain::OnWriteBox>");
    MOX_INVARIANT(m_pDoc);
    SendToView(WM_SAVE, -1, -1);
    bool writeAdr = true;
    const std::uint8_t typeIT = m_pDoc->GetTypeIT();
    if (typeIT != 1 && typeIT != 3) {
        const QString text =
            Text(mtxt::kAskWriteAdr) + QLatin1Char('\n') + Text(mtxt::kAskWriteAdrNote);
        switch (MsgText(mtxt::kAskWriteAdr, text,
                        mb::kYesNoCancel | mb::kIconQuestion | mb::kDefButton2, 0)) {
        case mb::kIdYes:
            writeAdr = true;
            break;
        case mb::kIdNo:
            writeAdr = false;
            break;
        default:
            return;
        }
    }
    if (!m_pDoc->StartWriteAnlDataToComPort(writeAdr))
        Msg(mtxt::kWriteFailed, mb::kOk | mb::kIconStop);
    UpdateControls();
}

void TMoxMain::OnRestartBox() {
    DbgOut(eDbgView, "<TMoxMain::OnRestartBox>");
    if (!m_pDataTransfer)
        return;
    Msg(mtxt::kRestartInfo, mb::kOk | mb::kIconInformation);
    m_ResetBuffer.fill(0);
    m_pDataTransfer->SetTransferData(3, m_ResetBuffer.data(),
                                     static_cast<std::uint32_t>(m_ResetBuffer.size()));
    if (m_pDataTransfer->ShowModal() == 1)
        Msg(mtxt::kTransferOk, mb::kOk | mb::kIconInformation);
    else
        Msg(mtxt::kTransferFailed, mb::kOk | mb::kIconStop);
    UpdateControls();
}

void TMoxMain::OnLoadDefaults() {
    DbgOut(eDbgView, "<TMoxMain::OnLoadDefaults>");
    MOX_INVARIANT(m_pDoc);
    if (Msg(mtxt::kAskDefaults, mb::kYesNo | mb::kIconWarning | mb::kDefButton2, 0) != mb::kIdYes)
        return;
    if (!QuerySave())
        return;
    const std::string path = DefaultsPath();
    if (FileExists(path) && m_pDoc->OpenDefaults(path.c_str())) {
        m_bDefaultsLoaded = true;
        m_pDoc->SetFresh(false);
        SetStatusNoFile();
        BuildKonfigTree();
        SendToView(WM_OPEN, -1, -1);
        UpdateControls();
        OnWriteBox();
        return;
    }
    ShowOpenFailure(path);
    UpdateControls();
}

void TMoxMain::OnPortDialog() {
    if (!m_Seams.runPortDialog || !m_Seams.runPortDialog(*this))
        return;
    if (m_pDataTransfer)
        m_pDataTransfer->UpdatePort();
    UpdateControls();
    ui->m_pStatusBar->update();
    SendToView(WM_CONNECTION_CHANGED, 0, 0);
    OnConnectionChanged();
}

void TMoxMain::OnConnect() {
    if (!m_Seams.runConnectDialog || !m_pDataTransfer)
        return;
    const std::string number = m_Seams.runConnectDialog(*this);
    if (number.empty())
        return;
    const int result = m_pDataTransfer->Connect(number);
    if (result <= 0) {
        DbgOut(eDbgCapi, "<TMoxMain::OnConnect> dial refused (%d)", result);
        UpdateControls();
        Msg(DialRefusalText(result), mb::kOk | mb::kIconStop);
        return;
    }
    m_RnrKunde = number;
    // The call rings until the network connects it (CAPIPORT_CONNECT_ACTIVE)
    // or clears it (CAPIPORT_DISCONNECT): the hang-up stays at hand so long.
    m_bDialing = true;
    UpdateControls();
}

void TMoxMain::OnDisconnect() {
    const std::intptr_t value = m_pDataTransfer ? m_pDataTransfer->GetConnectionValue() : 0;
    Perform(CAPIPORT_DISCONNECT, value, CAPIPORT_DISCONNECT_OWN);
}

// ---------------------------------------------------------------- wizard, about, help

void TMoxMain::OnWizard() {
    DbgOut(eDbgView, "<TMoxMain::OnWizard>");
    if (!m_pAssistent || !QuerySave())
        return;
    QApplication::setQuitOnLastWindowClosed(false);
    hide();
    m_pAssistent->ShowAssistent();
}

void TMoxMain::OnPrint() {
    if (!m_Seams.runPrintDialog)
        return;
    // Off while the dialog runs: a second print from the tool bar would
    // open a second dialog over the first.
    ui->m_pPrintToolsButton->setEnabled(false);
    ui->m_pDruckMenuItem->setEnabled(false);
    // The reports read the document: the page's edits go in first.
    if (m_pDoc)
        SendToView(WM_SAVE, -1, -1);
    m_Seams.runPrintDialog(*this, m_nKind);
    ui->m_pPrintToolsButton->setEnabled(true);
    ui->m_pDruckMenuItem->setEnabled(true);
}

void TMoxMain::OnPrinterSetup() {
    if (m_Seams.runPrinterSetup)
        m_Seams.runPrinterSetup(*this);
}

void TMoxMain::OnAbout() {
    TAboutDlg dlg(this, m_pRes.get(), m_nMode);
    dlg.exec();
}

void TMoxMain::OnWebPage() {
    TWebPage::Open();
}

bool TMoxMain::OnHelp(int command, std::intptr_t data) {
    switch (command) {
    case eHelpContext: {
        int context = static_cast<int>(data);
        if (context == kTreeHelpContext && m_pAktView) {
            const int pageContext = m_pAktView->property("HelpContext").toInt();
            if (pageContext)
                context = pageContext;
        }
        return m_pHelp->ShowContext(context);
    }
    case eHelpQuit:
        m_pHelp->Quit();
        return true;
    case eHelpHelpOnHelp:
        return m_pHelp->ShowContext(0);
    case eHelpContextMenu:
    case eHelpWmHelp:
        return m_pHelp->ShowContext(static_cast<int>(data));
    case eHelpFinder:
        return m_pHelp->ShowContents();
    default:
        // Keys, index and the other commands: the index with the data, or
        // the default topic without.
        return data ? m_pHelp->ShowContext(static_cast<int>(data)) : m_pHelp->ShowContents();
    }
}
