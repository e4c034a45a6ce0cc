#include "TMoxDocument.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#include "DbgOut.h"
#include "PermSettings.h"
#include "TPosixDocFileSystem.h"
#include "TSmsDefaultFile.h"
#include "TkResourcen.h"

namespace {

// Invariant checks name the expression, file and line, and end the program.
#define MOX_DOC_ASSERT(expr)                                                                       \
    do {                                                                                           \
        if (!(expr)) {                                                                             \
            DbgOut(eDbgAlways, "assertion \"%s\" failed in %s line %d", #expr, __FILE__,           \
                   __LINE__);                                                                      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Name of an unnamed document when the language file has no text for it.
constexpr char kFallbackUnnamed[] = "unbenannt";

const char* SectionName(std::uint8_t section) {
    switch (section) {
    case eTaggedData_All:
        return "eTaggedData_All";
    case eTaggedData_SysData:
        return "eTaggedData_SysData";
    case eTaggedData_Concierge:
        return "eTaggedData_Concierge";
    case eTaggedData_Tln:
        return "eTaggedData_Tln";
    case eTaggedData_PG:
        return "eTaggedData_PG";
    case eTaggedData_Mfe:
        return "eTaggedData_Mfe";
    case eTaggedData_Mfr:
        return "eTaggedData_Mfr";
    case eTaggedData_RAKAusgang:
        return "eTaggedData_RAKAusgang";
    case eTaggedData_RAKEingang:
        return "eTaggedData_RAKEingang";
    case eTaggedData_Texte:
        return "eTaggedData_Texte";
    case eTaggedData_SMS:
        return "eTaggedData_SMS";
    case eTaggedData_KMR:
        return "eTaggedData_KMR";
    case eTaggedData_Ende:
        return "eTaggedData_Ende";
    }
    return "eTaggedData_?";
}

eDocFileResult FromKtx(eKtxFileResult r) {
    switch (r) {
    case eKtxFileOk:
        return eDocFileOk;
    case eKtxFileNoName:
        return eDocFileNoName;
    case eKtxFileCannotOpen:
        return eDocFileCannotOpen;
    case eKtxFileWrongLength:
        return eDocFileWrongLength;
    case eKtxFileReadError:
        return eDocFileReadError;
    case eKtxFileCannotCreate:
    case eKtxFileWriteError:
    case eKtxFileRenameError:
    case eKtxFileNotWritable:
        return eDocFileWriteError;
    }
    return eDocFileReadError;
}

} // namespace

// ============================================================ construction

TMoxDocument::TMoxDocument(IDocLanguageRefresh* pMainFrame, TkResourcen* pRes,
                           IDocTransfer* pDataTransfer, const char* fileName)
    : m_pMainFrame(pMainFrame), m_pRes(pRes), m_pDataTransfer(pDataTransfer),
      m_Image(new std::uint8_t[kImageSize]), m_pFileSystem(&TPosixDocFileSystem::Instance()) {
    MOX_DOC_ASSERT(pMainFrame != nullptr);
    DbgOut(eDbgDoc, "<TMoxDocument::TMoxDocument>");
    std::fill_n(m_Image.get(), kImageSize, TAGSTR_EMPTY);
    AllocFreshData();
    SetIO_TlnAdr(1);
    if (!fileName) {
        SetUnnamedName();
        // The settings' country and language go straight into the record:
        // the settings already hold them, and the owner is still being
        // built, so there is nothing to write back and nothing to refresh.
        MoxSetLand(m_pData.get(), static_cast<std::uint8_t>(GetPermLand()));
        MoxSetSprache(m_pData.get(), static_cast<std::uint8_t>(GetPermSprache()));
        MoxInitSMS(m_pData.get());
        SetSMSDefaultsToData(GetPermLand(), m_pData.get());
    } else {
        SetFileName(fileName);
        m_bUnnamed = false;
    }
    m_bModified = false;
}

TMoxDocument::~TMoxDocument() {
    DbgOut(eDbgDoc, "<TMoxDocument::~TMoxDocument>");
}

void TMoxDocument::AllocFreshData() {
    auto pData = std::make_unique<MoxDaten>();
    MoxInitDaten(pData.get());
    ReplaceData(std::move(pData));
}

void TMoxDocument::ReplaceData(std::unique_ptr<MoxDaten> pData) {
    m_pData = std::move(pData);
    MoxSetStreamBuffer(m_pData.get(), m_Image.get(), kImageSize);
}

void TMoxDocument::SetFileSystem(IDocFileSystem* pFileSystem) {
    m_pFileSystem = pFileSystem ? pFileSystem : &TPosixDocFileSystem::Instance();
}

std::string TMoxDocument::GetResDir() const {
    if (!m_ResDir.empty())
        return m_ResDir;
    return TkResourcen::ProgramDir() + "/res";
}

const char* TMoxDocument::Text(int id) const {
    return m_pRes ? m_pRes->GetText(id) : nullptr;
}

int TMoxDocument::ShowMessage(int textId, eDocMsgIcon icon) {
    const char* text = Text(textId);
    const char* caption = Text(kDocTextCaption);
    DbgOut(eDbgAlways, "<TMoxDocument> message (%d) %s", textId, text ? text : "");
    if (!m_pMessageBox)
        return eDocAnswerOk;
    return m_pMessageBox->ShowMessage(textId, text ? text : "", caption ? caption : "", icon,
                                      eDocMsgOk);
}

void TMoxDocument::TakeLanguageOfRecord() {
    // A box read keeps whatever language byte the box sent, and a file saved
    // from such a document brings it back. In the settings it would leave the
    // program without texts; the document keeps it, the program keeps its
    // language.
    const std::uint8_t sprache = GetSprache();
    if (IsPermSprache(sprache))
        SetPermSprache(sprache);
    else
        DbgOut(eDbgDoc, "<TMoxDocument> language (%d) of the record has no texts: kept %d", sprache,
               GetPermSprache());
}

void TMoxDocument::RefreshLanguage() {
    m_pMainFrame->RefreshLanguage();
}

// ============================================================ name and flags

std::string TMoxDocument::ApplyNamingRule(const char* name) {
    std::string result = name ? name : "";
    const size_t n = result.size();
    if (n >= 4) {
        const std::string tail = result.substr(n - 4);
        if (tail == ".ktx" || tail == ".def")
            return result;
    }
    return result + ".ktx";
}

void TMoxDocument::SetFileName(const char* name) {
    m_FileName = ApplyNamingRule(name);
    DbgOut(eDbgDoc, "<TMoxDocument::SetFileName> filename(%s)", m_FileName.c_str());
}

void TMoxDocument::SetUnnamedName() {
    const char* unnamed = Text(kDocTextUnnamed);
    SetFileName(unnamed && *unnamed ? unnamed : kFallbackUnnamed);
    m_bUnnamed = true;
}

void TMoxDocument::SetModified(bool bModified) {
    if (bModified)
        m_bModified = true;
}

// ============================================================ files

bool TMoxDocument::NewDocument() {
    return NewDocument(nullptr);
}

bool TMoxDocument::NewDocument(const char* name) {
    DbgOut(eDbgDoc, "<TMoxDocument::NewDocument> filename(%s)", name ? name : "(unnamed)");
    if (name) {
        SetFileName(name);
        m_bUnnamed = false;
    } else {
        SetUnnamedName();
    }
    AllocFreshData();
    SetIO_TlnAdr(1);
    MoxSetSprache(m_pData.get(), static_cast<std::uint8_t>(GetPermSprache()));
    MoxSetLand(m_pData.get(), static_cast<std::uint8_t>(GetPermLand()));
    SetSMSDefaultsToData(GetPermLand(), m_pData.get());
    RefreshLanguage();
    m_bModified = false;
    return true;
}

bool TMoxDocument::LoadFileInto(const std::string& path, std::unique_ptr<MoxDaten>* ppData) {
    m_eLastFileResult = eDocFileOk;
    m_nLastFileErrno = 0;
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[kImageSize]);
    TKtxFile file(*m_pFileSystem);
    const eKtxFileResult r = file.Read(path, image.get(), kImageSize);
    if (r != eKtxFileOk) {
        m_eLastFileResult = FromKtx(r);
        m_nLastFileErrno = file.GetLastErrno();
        DbgOut(eDbgAlways, "\t<TMoxDocument> ERROR read <%s>: %s (errno %d)", path.c_str(),
               TKtxFile::ResultName(r), m_nLastFileErrno);
        return false;
    }
    auto pData = std::make_unique<MoxDaten>();
    if (!MoxLoadDaten(pData.get(), image.get(), kImageSize)) {
        m_eLastFileResult = eDocFileDamaged;
        DbgOut(eDbgAlways, "\t<TMoxDocument> ERROR <%s>: malformed image", path.c_str());
        return false;
    }
    std::memcpy(m_Image.get(), image.get(), kImageSize);
    MoxSetStreamBuffer(pData.get(), m_Image.get(), kImageSize);
    *ppData = std::move(pData);
    return true;
}

bool TMoxDocument::OpenDocument(const char* name) {
    const std::string path = ApplyNamingRule(name);
    DbgOut(eDbgDoc, "<TMoxDocument::OpenDocument> filename(%s)", path.c_str());
    std::unique_ptr<MoxDaten> pData;
    try {
        if (!LoadFileInto(path, &pData))
            return false;
    } catch (const std::exception& e) {
        DbgOut(eDbgAlways, "\t<TMoxDocument::OpenDocument> exception %s", e.what());
        m_eLastFileResult = eDocFileReadError;
        ShowMessage(kDocTextReadException, eDocMsgIconStop);
        return false;
    }
    ReplaceData(std::move(pData));
    m_FileName = path;
    m_bUnnamed = false;
    m_bModified = false;
    TakeLanguageOfRecord();
    RefreshLanguage();
    TraceTaggedLen();
    DbgOut(eDbgDoc, "Anz Telegramme (%d)", GetAnzTelegramme());
    return true;
}

bool TMoxDocument::OpenDefaults(const char* path) {
    DbgOut(eDbgDoc, "<TMoxDocument::OpenDefaults> filename(%s)", path ? path : "");
    std::unique_ptr<MoxDaten> pData;
    try {
        if (!LoadFileInto(path ? path : "", &pData))
            return false;
    } catch (const std::exception& e) {
        DbgOut(eDbgAlways, "\t<TMoxDocument::OpenDefaults> exception %s", e.what());
        m_eLastFileResult = eDocFileReadError;
        ShowMessage(kDocTextReadException, eDocMsgIconStop);
        return false;
    }
    ReplaceData(std::move(pData));
    SetUnnamedName();
    m_bModified = false;
    TakeLanguageOfRecord();
    RefreshLanguage();
    return true;
}

bool TMoxDocument::ReadDocument() {
    DbgOut(eDbgDoc, "<TMoxDocument::ReadDocument> filename(%s)", m_FileName.c_str());
    std::unique_ptr<MoxDaten> pData;
    bool ok = false;
    try {
        ok = LoadFileInto(m_FileName, &pData);
    } catch (const std::exception& e) {
        DbgOut(eDbgAlways, "\t<TMoxDocument::ReadDocument> exception %s", e.what());
        m_eLastFileResult = eDocFileReadError;
        ShowMessage(kDocTextReadException, eDocMsgIconStop);
    }
    if (ok) {
        ReplaceData(std::move(pData));
        m_bUnnamed = false;
        m_bModified = false;
        TakeLanguageOfRecord();
        RefreshLanguage();
    } else {
        // The document must not keep the name of a file it could not read:
        // a later save would overwrite that file with other content.
        SetUnnamedName();
    }
    TraceTaggedLen();
    DbgOut(eDbgDoc, "Anz Telegramme (%d)", GetAnzTelegramme());
    return ok;
}

bool TMoxDocument::Write() {
    DbgOut(eDbgDoc, "<TMoxDocument::Write> filename(%s)", m_FileName.c_str());
    m_nLastFileErrno = 0;
    if (m_FileName.empty() || m_bUnnamed) {
        DbgOut(eDbgAlways, "\t<TMoxDocument::Write> strlen(filename)==0");
        m_eLastFileResult = eDocFileNoName;
        return false;
    }
    SetIO_Version(1);
    TKtxImage::Build(m_pData.get(), m_Image.get());

    TKtxFile file(*m_pFileSystem);
    const eKtxFileResult r = file.WriteAtomic(m_FileName, m_Image.get(), kImageSize);
    m_eLastFileResult = FromKtx(r);
    m_nLastFileErrno = file.GetLastErrno();
    if (r != eKtxFileOk) {
        DbgOut(eDbgAlways, "\t<TMoxDocument::Write> ERROR %s (errno %d), file kept as it was",
               TKtxFile::ResultName(r), m_nLastFileErrno);
        return false;
    }
    // Clean only now: every byte is on disk under the document's name.
    m_bModified = false;
    return true;
}

bool TMoxDocument::WriteDocument(const char* name, bool bNewDocument) {
    DbgOut(eDbgDoc, "<TMoxDocument::WriteDocument> name(%s) new(%d)", name ? name : "(null)",
           bNewDocument ? 1 : 0);
    const std::string oldName = m_FileName;
    const bool oldUnnamed = m_bUnnamed;
    if (name) {
        SetFileName(name);
        m_bUnnamed = false;
    }
    if (bNewDocument) {
        SetLand(static_cast<std::uint8_t>(GetPermLand()));
        SetSprache(static_cast<std::uint8_t>(GetPermSprache()));
        InitSMS();
    }
    const bool ok = Write();
    if (!ok && name) {
        // A save under a new name that failed leaves the document where it
        // was: the next save goes to the old file (or asks for a name).
        m_FileName = oldName;
        m_bUnnamed = oldUnnamed;
    }
    return ok;
}

int TMoxDocument::GetLastFileErrorTextId() const {
    switch (m_eLastFileResult) {
    case eDocFileOk:
        return 0;
    case eDocFileWrongLength:
        return kDocTextFileWrongLength;
    case eDocFileDamaged:
        return kDocTextFileDamaged;
    case eDocFileNoName:
    case eDocFileCannotOpen:
    case eDocFileReadError:
        return kDocTextFileUnreadable;
    case eDocFileWriteError:
        return kDocTextFileNotSaved;
    }
    return kDocTextFileUnreadable;
}

const char* TMoxDocument::FileResultName(eDocFileResult result) {
    switch (result) {
    case eDocFileOk:
        return "ok";
    case eDocFileNoName:
        return "no name";
    case eDocFileCannotOpen:
        return "cannot open";
    case eDocFileWrongLength:
        return "wrong length";
    case eDocFileDamaged:
        return "damaged";
    case eDocFileReadError:
        return "read error";
    case eDocFileWriteError:
        return "write error";
    }
    return "?";
}

void TMoxDocument::SetSMSDefaultsToData(int land, MoxDaten* pData) {
    DbgOut(eDbgDoc, "<TMoxDocument::SetSMSDefaultsToData> land(%d)", land);
    const char* fileName = TSmsDefaultFile::FileNameForLand(land);
    if (!fileName) {
        DbgOut(eDbgAlways, "ERROR SMS-Defaults <%s> not found!", "");
        return;
    }
    const std::string path = GetResDir() + "/" + fileName;
    TSmsDefaultTable table{};
    std::vector<std::string> lines;
    if (!TSmsDefaultFile::Load(path, Text(kDocTextSmsProtocol1), Text(kDocTextSmsProtocol2), &table,
                               &lines)) {
        DbgOut(eDbgAlways, "ERROR SMS-Defaults <%s> not found!", path.c_str());
        return;
    }
    for (size_t i = 0; i < lines.size(); ++i)
        DbgOut(eDbgDoc, "[%d] %s", static_cast<int>(i), lines[i].c_str());
    for (std::uint8_t i = 0; i < MOX_MAX_SMS; ++i) {
        MoxSetSMSProvider(pData, i, table[i].Provider.c_str());
        MoxSetSMSRnr(pData, i, table[i].Rnr.c_str());
        MoxSetSMSProtokoll(pData, i, table[i].Protokoll);
    }
}

// ============================================================ box transfer

bool TMoxDocument::NextPackage(std::uint8_t* pState, std::int32_t* pIdx, std::uint8_t* pSection,
                               std::uint8_t* pIndex) const {
    const std::uint8_t idx = static_cast<std::uint8_t>(*pIdx);
    *pIndex = 0;
    switch (*pState) {
    case eTaggedData_SysData:
        *pSection = eTaggedData_SysData;
        *pState = eTaggedData_Concierge;
        return true;
    case eTaggedData_Concierge:
        *pSection = eTaggedData_Concierge;
        *pState = eTaggedData_Tln;
        *pIdx = 0;
        return true;
    case eTaggedData_Tln:
        // At least index 0, also when no subscriber is in use: without a
        // door interface the box still gets subscriber 0 and group 0.
        *pSection = eTaggedData_Tln;
        *pIndex = idx;
        if (GetAnzTln() <= ++*pIdx) {
            *pState = eTaggedData_PG;
            *pIdx = 0;
        }
        return true;
    case eTaggedData_PG:
        *pSection = eTaggedData_PG;
        *pIndex = idx;
        if (GetAnzPG() <= ++*pIdx) {
            *pState = eTaggedData_Mfe;
            *pIdx = 0;
        }
        return true;
    case eTaggedData_Mfe:
        *pSection = eTaggedData_Mfe;
        *pState = eTaggedData_Mfr;
        return true;
    case eTaggedData_Mfr:
        *pSection = eTaggedData_Mfr;
        *pState = eTaggedData_RAKAusgang;
        *pIdx = 0;
        return true;
    case eTaggedData_RAKAusgang:
        // All twelve, whatever the controller type: the box keeps them.
        *pSection = eTaggedData_RAKAusgang;
        *pIndex = idx;
        if (++*pIdx >= MOX_MAX_RAKAUSGANG) {
            *pState = eTaggedData_RAKEingang;
            *pIdx = 0;
        }
        return true;
    case eTaggedData_RAKEingang:
        *pSection = eTaggedData_RAKEingang;
        *pIndex = idx;
        if (++*pIdx >= MOX_MAX_RAKEINGANG) {
            *pState = eTaggedData_Texte;
            *pIdx = 0;
        }
        return true;
    case eTaggedData_Texte:
        *pSection = eTaggedData_Texte;
        *pState = eTaggedData_SMS;
        *pIdx = 0;
        return true;
    case eTaggedData_SMS:
        *pSection = eTaggedData_SMS;
        *pIndex = idx;
        if (++*pIdx >= MOX_MAX_SMS) {
            *pState = GetTypeKMR() != 0 ? eTaggedData_KMR : eTaggedData_Ende;
            *pIdx = 0;
        }
        return true;
    case eTaggedData_KMR:
        *pSection = eTaggedData_KMR;
        *pState = eTaggedData_Ende;
        return true;
    default:
        *pState = eTaggedData_Ende;
        return false;
    }
}

std::uint32_t TMoxDocument::LargestPackage(std::uint8_t* pSection) {
    std::uint8_t state = eTaggedData_SysData;
    std::int32_t idx = 0;
    std::uint8_t section = 0, index = 0;
    std::uint32_t largest = 0;
    *pSection = eTaggedData_SysData;
    while (NextPackage(&state, &idx, &section, &index)) {
        const std::uint32_t len = MoxWriteTaggedData(m_pData.get(), section, index, false);
        if (len > largest) {
            largest = len;
            *pSection = section;
        }
    }
    return largest;
}

bool TMoxDocument::StartWriteAnlDataToComPort(bool bIOTlnAdr) {
    DbgOut(eDbgDoc, "<TMoxDocument::StartWriteAnlDataToComPort> bIOTlnAdr(%d)", bIOTlnAdr ? 1 : 0);
    if (!m_pDataTransfer) {
        DbgOut(eDbgAlways, "\t    ERROR no transfer controller");
        return false;
    }
    if (m_nWriteState != kWriteStateIdle) {
        DbgOut(eDbgAlways, "\t    ERROR a send is already running");
        return false;
    }
    DumpData();

    SetIO_TlnAdr(bIOTlnAdr ? 1 : 0);
    SetIO_Version(0);

    // The box takes one package per block; a larger package could only be
    // cut or refused half-way through the send, so the whole send is
    // refused before its first block.
    std::uint8_t bigSection = 0;
    const std::uint32_t largest = LargestPackage(&bigSection);
    if (largest > m_pDataTransfer->GetBlockLen()) {
        DbgOut(eDbgAlways, "\t    ERROR package %s of %u bytes exceeds the block of %u bytes",
               SectionName(bigSection), static_cast<unsigned>(largest),
               static_cast<unsigned>(m_pDataTransfer->GetBlockLen()));
        SetIO_TlnAdr(1);
        SetIO_Version(1);
        ShowMessage(bigSection == eTaggedData_Texte ? kDocTextTexteTooLong : kDocTextPackageTooLong,
                    eDocMsgIconStop);
        return false;
    }

    m_pDataTransfer->SetInfoText(Text(kDocTextSendInfo));
    m_nWriteState = eTaggedData_SysData;
    m_nPackageIdx = 0;
    MoxClearStream(m_pData.get());
    MoxWriteTaggedData(m_pData.get(), eTaggedData_SysData, 0, true);
    const std::uint32_t len = MoxGetStreamLen(m_pData.get());
    const std::uint16_t count = MoxGetAnzTelegramme(m_pData.get());
    DbgOut(eDbgDoc, "\t    mode (%d) DataBufLen (%u) NumberOfPackages (%d)", eDocSendAnlDaten,
           static_cast<unsigned>(len), count);
    DbgOut(eDbgDoc, "\t    eTaggedData_SysData");
    m_pDataTransfer->SetTransferData(eDocSendAnlDaten, m_Image.get(), len);
    m_pDataTransfer->SetTeleAnz(count);
    DbgOut(eDbgDoc, "\t    m_pDataTransfer->SetTeleAnz (%d)", count);

    m_nWriteState = eTaggedData_Concierge;
    const int result = m_pDataTransfer->ShowModal();
    const bool ok = result == eDocTransferOk;
    if (!ok)
        DbgOut(eDbgDoc, "\t    send ERROR");

    m_nWriteState = kWriteStateIdle;
    m_nPackageIdx = 0;
    SetIO_TlnAdr(1);
    SetIO_Version(1);
    return ok;
}

bool TMoxDocument::WriteTaggedPackage(std::uint8_t section, std::uint8_t index) {
    const std::uint32_t len = MoxWriteTaggedData(m_pData.get(), section, index, true);
    DbgOut(eDbgDoc, "\t    mode (%d) [%d] DataBufLen (%u)", eDocSendAnlDaten, index,
           static_cast<unsigned>(len));
    if (m_pDataTransfer)
        m_pDataTransfer->SetTransferBuf(m_Image.get(), len);
    return len != 0;
}

bool TMoxDocument::WriteAnlDataToComPort() {
    DbgOut(eDbgDoc, "<TMoxDocument::WriteAnlDataToComPort>");
    std::uint8_t section = 0, index = 0;
    if (!NextPackage(&m_nWriteState, &m_nPackageIdx, &section, &index)) {
        DbgOut(eDbgDoc, "\t    eTaggedData_Ende");
        m_nWriteState = kWriteStateIdle;
        if (m_pDataTransfer)
            m_pDataTransfer->SetTransferBuf(m_Image.get(), 0);
        return true;
    }
    if (section == eTaggedData_Tln || section == eTaggedData_PG ||
        section == eTaggedData_RAKAusgang || section == eTaggedData_RAKEingang ||
        section == eTaggedData_SMS)
        DbgOut(eDbgDoc, "\t    %s Idx(%d)", SectionName(section), index);
    else
        DbgOut(eDbgDoc, "\t    %s", SectionName(section));
    return WriteTaggedPackage(section, index);
}

void TMoxDocument::OnNeedTransferData() {
    // Every call that comes out empty has advanced the sequence, and its
    // end always yields a package (of length 0), so this ends; the bound is
    // only a guard against a broken state.
    for (int i = 0; i < 4 * (MOX_MAX_TLN + MOX_MAX_PG + 2 * MOX_MAX_RAK + MOX_MAX_SMS + 8); ++i) {
        if (WriteAnlDataToComPort())
            return;
    }
    m_nWriteState = kWriteStateIdle;
    if (m_pDataTransfer)
        m_pDataTransfer->SetTransferBuf(m_Image.get(), 0);
}

void TMoxDocument::MoreAnlDataToComPort() {
    if (m_pDataTransfer)
        m_pDataTransfer->SetMoreData(m_nWriteState != kWriteStateIdle);
}

bool TMoxDocument::ReadAnlDataFromComPort() {
    DbgOut(eDbgDoc, "<TMoxDocument::ReadAnlDataFromComPort>");
    if (!m_pDataTransfer) {
        DbgOut(eDbgAlways, "\t    ERROR no transfer controller");
        return false;
    }
    m_pDataTransfer->SetInfoText(Text(kDocTextReceiveInfo));
    MoxClearStream(m_pData.get());
    m_pDataTransfer->SetTransferData(eDocReceiveAnlDaten, m_Image.get(), kImageSize);
    const bool ok = m_pDataTransfer->ShowModal() == eDocTransferOk;
    DbgOut(eDbgDoc, "\t    receive MoxDaten DataReadLen (%u)",
           static_cast<unsigned>(MoxGetStreamLen(m_pData.get())));

    if (ok) {
        auto pData = std::make_unique<MoxDaten>();
        MoxInitDaten(pData.get());
        MoxSetStreamBuffer(pData.get(), m_Image.get(), kImageSize);
        // A box with an empty store ends the read well but sends nothing:
        // loading that would put the defaults in place of the installer's
        // configuration, and the next write would send them to the box.
        const bool holdsConfiguration = MoxCountTaggedItems(pData.get()) > 0;
        if (!holdsConfiguration)
            DbgOut(eDbgDoc, "\t    ERROR no configuration in the data read");
        if (holdsConfiguration && MoxReadTaggedData(pData.get(), false) &&
            MoxLoadDaten(pData.get(), m_Image.get(), kImageSize)) {
            ReplaceData(std::move(pData));
            MoxClearStream(m_pData.get());
            SetModified(true);
            DumpData();
            return true;
        }
    }
    DbgOut(eDbgDoc, "\t    ERROR Parsen || Lesen");
    return false;
}

void TMoxDocument::SetIO_TlnAdr(std::uint8_t flag) {
    DbgOut(eDbgDoc, "<TMoxDocument::SetIO_TlnAdr> (%d)", flag);
    MoxSetIO_TlnAdr(m_pData.get(), flag);
}

void TMoxDocument::SetIO_Version(std::uint8_t flag) {
    DbgOut(eDbgDoc, "<TMoxDocument::SetIO_Version> (%d)", flag);
    MoxSetIO_Version(m_pData.get(), flag);
}

std::uint16_t TMoxDocument::GetAnzTelegramme() {
    return MoxGetAnzTelegramme(m_pData.get());
}
