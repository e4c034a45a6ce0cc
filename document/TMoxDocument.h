#pragma once
// TMoxDocument: the one open configuration of the box. It owns the
// configuration record and the 32768-byte image buffer in which the tagged
// image is built and parsed; it reads and writes the ".ktx" file, starts new
// documents from the settings and the country's SMS default file, and moves
// the configuration to and from the box through the transfer controller,
// one tagged section per package.
//
// Views, reports and the wizard reach the configuration only through the
// accessor facade below: Get<Item> / Set<Item> for every accessor of the
// data library (MoxAccess.h) with the same arguments less the record, and
// Init<Section> for every page reset. A setter reads the current value
// first and marks the document modified when the new value differs, before
// the library checks its range: a value the library refuses still marks the
// document, and the setter returns false.
//
// Saving is atomic: the image goes to a temporary file beside the target and
// replaces it only when every byte is on disk; the document is clean only
// then. Opening checks the image before anything is replaced: a file that is
// not exactly 32768 bytes or whose image is malformed leaves the document
// (content, name, modified flag) as it was.
//
// Everything runs on the GUI thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "DocTextIds.h"
#include "IDocFileSystem.h"
#include "IDocLanguageRefresh.h"
#include "IDocMessageBox.h"
#include "IDocTransfer.h"
#include "MoxAccess.h"
#include "MoxDaten.h"
#include "MoxTagged.h"
#include "TKtxFile.h"
#include "TKtxImage.h"

class TkResourcen;

// Outcome of opening or saving a document file.
enum eDocFileResult : int {
    eDocFileOk = 0,
    eDocFileNoName,      // no name, or a save of an unnamed document
    eDocFileCannotOpen,  // missing, no permission, or not a regular file
    eDocFileWrongLength, // not exactly 32768 bytes
    eDocFileDamaged,     // 32768 bytes, but the image in it is malformed
    eDocFileReadError,   // the system failed while reading
    eDocFileWriteError,  // the new file could not be made or written, or the old one is
                         // protected; the old one is kept
};

class TMoxDocument {
public:
    static constexpr std::size_t kImageSize = TKtxImage::kSize;
    // Write state outside a send to the box.
    static constexpr std::uint8_t kWriteStateIdle = eTaggedData_Ende;

    // pMainFrame must not be null. Without a file name the document is
    // unnamed and takes country, language and SMS defaults from the
    // settings; with one only the naming rule runs.
    TMoxDocument(IDocLanguageRefresh* pMainFrame, TkResourcen* pRes, IDocTransfer* pDataTransfer,
                 const char* fileName = nullptr);
    ~TMoxDocument();
    TMoxDocument(const TMoxDocument&) = delete;
    TMoxDocument& operator=(const TMoxDocument&) = delete;

    // ------------------------------------------------------------ wiring

    // The main window hands over its transfer controller once it exists.
    void SetDataTransfer(IDocTransfer* pDataTransfer) { m_pDataTransfer = pDataTransfer; }
    IDocTransfer* GetDataTransfer() const { return m_pDataTransfer; }
    // Where the document's own message boxes go; nullptr traces them only.
    void SetMessageBox(IDocMessageBox* pMessageBox) { m_pMessageBox = pMessageBox; }
    // File calls; nullptr restores the real ones.
    void SetFileSystem(IDocFileSystem* pFileSystem);
    // Folder of the SMS default files; empty for "res" beside the program.
    void SetResDir(const std::string& dir) { m_ResDir = dir; }
    std::string GetResDir() const;

    // ------------------------------------------------------------ name, flags

    // The current name (".ktx" or ".def" at its end), or nullptr before one
    // was set.
    const char* GetFileName() const { return m_FileName.empty() ? nullptr : m_FileName.c_str(); }
    // True while the document has no file of its own: a save must ask for a
    // name first. Set for a new document and after an open that failed.
    bool IsUnnamed() const { return m_bUnnamed; }
    // The naming rule: ".ktx" and ".def" at the end (case-sensitive) stay,
    // every other name gets ".ktx" appended.
    static std::string ApplyNamingRule(const char* name);
    void SetFileName(const char* name);

    // Sets the modified flag when the argument is true; never clears it.
    void SetModified(bool bModified);
    bool IsModified() const { return m_bModified; }
    // Cleared by the constructor; the main window clears it after every new,
    // opened or recent document.
    void SetFresh(bool bFresh) { m_bFresh = bFresh; }
    bool IsFresh() const { return m_bFresh; }
    // Set by the pages that read the configuration from the box; they read
    // only while it is clear.
    void SetReadFromBox(bool bRead) { m_bReadFromBox = bRead; }
    bool IsReadFromBox() const { return m_bReadFromBox; }

    // ------------------------------------------------------------ files

    // A fresh configuration with the settings' country and language and the
    // country's SMS defaults; the language texts are refreshed; clean.
    // Without a name (or nullptr) the document is unnamed.
    bool NewDocument();
    bool NewDocument(const char* name);

    // Opens a document file: the name goes through the naming rule and is
    // taken over only when the file was read. On failure the document keeps
    // its content, name and modified flag; GetLastFileResult tells why.
    bool OpenDocument(const char* name);
    // Loads a file of default values ("mox.def") as a new, unnamed document:
    // a later save asks for a name and never overwrites the defaults.
    bool OpenDefaults(const char* path);
    // Reads the file of the current name. A failure keeps the content and
    // leaves the document unnamed, so a save cannot overwrite the file that
    // could not be read.
    bool ReadDocument();

    // Writes the file of the current name; true when all 32768 bytes are on
    // disk, and only then is the document clean. An unnamed document is not
    // written (eDocFileNoName): ask for a name and use WriteDocument.
    bool Write();
    // With a name, saves under that name (taken over only when the save
    // succeeded); bNewDocument first applies the settings' country,
    // language and SMS defaults.
    bool WriteDocument(const char* name, bool bNewDocument);

    // Why the last open or save failed (eDocFileOk after a success).
    eDocFileResult GetLastFileResult() const { return m_eLastFileResult; }
    // errno of the last failed file call, 0 when there was none.
    int GetLastFileErrno() const { return m_nLastFileErrno; }
    // Language text that explains the last failure, for the caller to show
    // with its own message; 0 after a success.
    int GetLastFileErrorTextId() const;
    static const char* FileResultName(eDocFileResult result);

    // Loads the SMS default file of the country into pData (all ten entries
    // replaced). A missing file is only traced and leaves pData unchanged.
    void SetSMSDefaultsToData(int land, MoxDaten* pData);

    // ------------------------------------------------------------ box transfer

    // Sends the configuration to the box; true when the transfer ended with
    // result 1. A package larger than one block refuses the whole send with
    // a message before anything is sent.
    bool StartWriteAnlDataToComPort(bool bIOTlnAdr);
    // Builds the next package; false when it came out empty (the caller asks
    // again). Called on WM_NEED_TRANSFER_DATA.
    bool WriteAnlDataToComPort();
    // WM_NEED_TRANSFER_DATA in full: passes over empty packages until one
    // with data or the final empty one is handed to the controller.
    void OnNeedTransferData();
    // Tells the controller whether packages remain (WM_MORE_TRANSFER_DATA).
    void MoreAnlDataToComPort();
    // Reads the configuration from the box; on success it replaces the
    // document's and marks it modified. A failed read or a malformed image
    // keeps the configuration.
    bool ReadAnlDataFromComPort();

    std::uint8_t GetWriteState() const { return m_nWriteState; }

    // Header flags of the next image.
    void SetIO_TlnAdr(std::uint8_t flag);
    void SetIO_Version(std::uint8_t flag);
    std::uint16_t GetAnzTelegramme();

    // Trace output of the record (channel doc).
    void DumpData();
    void SizeofData();
    void TaggedData();
    void TraceTaggedLen();

    // Read-only view of the record for the print forms' checks, tests and
    // tools; pages use the facade.
    const MoxDaten* GetDaten() const { return m_pData.get(); }
    const std::uint8_t* GetImageBuffer() const { return m_Image.get(); }

    // ================================================================ facade

    // --- system and types
    std::uint8_t GetLand() const { return MoxGetLand(m_pData.get()); }
    bool SetLand(std::uint8_t land);
    std::uint8_t GetSprache() const { return MoxGetSprache(m_pData.get()); }
    bool SetSprache(std::uint8_t sprache);

    bool GetRnr(char* buffer, std::size_t size) const;
    bool SetRnr(const char* rnr);
    bool GetRnrExtBelegung(char* buffer, std::size_t size) const;
    bool SetRnrExtBelegung(const char* rnr);
    bool GetSperrnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetSperrnr(std::uint8_t i, const char* rnr);

    std::uint8_t GetKamera() const { return MoxGetKamera(m_pData.get()); }
    bool SetKamera(std::uint8_t kamera);
    std::uint8_t GetTuerrufannahme() const { return MoxGetTuerrufannahme(m_pData.get()); }
    bool SetTuerrufannahme(std::uint8_t value);
    std::uint16_t GetTuerrufdauer() const { return MoxGetTuerrufdauer(m_pData.get()); }
    bool SetTuerrufdauer(std::uint16_t value);
    std::uint8_t GetTuermatik() const { return MoxGetTuermatik(m_pData.get()); }
    bool SetTuermatik(std::uint8_t value);
    std::uint16_t GetSchaltdauerMfr() const { return MoxGetSchaltdauerMfr(m_pData.get()); }
    bool SetSchaltdauerMfr(std::uint16_t value);
    std::uint8_t GetKettenruf() const { return MoxGetKettenruf(m_pData.get()); }
    bool SetKettenruf(std::uint8_t value);

    // Levels in dB, one decimal: 20 x log10(raw / 4096). A raw 0 (only an
    // image from outside can hold it) reads as the lowest level the system
    // page offers, -12.0 dB.
    double GetPegelKommend() const;
    bool SetPegelKommend(double dB);
    double GetPegelGehend() const;
    bool SetPegelGehend(double dB);
    static constexpr double kPegelMinDb = -12.0;
    static double PegelToDb(std::uint16_t raw);
    // Raw value of a level in dB, kept within 1..65535; false for NaN.
    static bool DbToPegel(double dB, std::uint16_t* pRaw);

    std::uint8_t GetNachtriggern() const { return MoxGetNachtriggern(m_pData.get()); }
    bool SetNachtriggern(std::uint8_t value);
    std::uint16_t GetBSGProgKennziffer() const { return MoxGetBSGProgKennziffer(m_pData.get()); }
    bool SetBSGProgKennziffer(std::uint16_t value);

    std::uint8_t GetRufton(std::uint8_t tuer) const { return MoxGetRufton(m_pData.get(), tuer); }
    bool SetRufton(std::uint8_t tuer, std::uint8_t rufton);

    std::uint8_t GetSprachausgabe() const { return MoxGetSprachausgabe(m_pData.get()); }
    void SetSprachausgabe(std::uint8_t value);
    std::uint8_t GetSprachwaage() const { return MoxGetSprachwaage(m_pData.get()); }
    void SetSprachwaage(std::uint8_t value);

    std::uint8_t GetConciergeAktiv() const { return MoxGetConciergeAktiv(m_pData.get()); }
    bool SetConciergeAktiv(std::uint8_t value);
    std::uint8_t GetConciergeVideo() const { return MoxGetConciergeVideo(m_pData.get()); }
    bool SetConciergeVideo(std::uint8_t value);
    bool GetConciergeRnr(char* buffer, std::size_t size) const;
    bool SetConciergeRnr(const char* rnr);

    std::uint8_t GetAnzBSMRelais() const { return MoxGetAnzBSMRelais(m_pData.get()); }
    std::uint8_t GetAnzSchaltcode() const { return MoxGetAnzSchaltcode(m_pData.get()); }
    bool GetBSMRelais(std::uint8_t i, std::uint16_t* adr, std::uint8_t* relais) const;
    bool SetBSMRelais(std::uint8_t i, std::uint16_t adr, std::uint8_t relais);
    bool GetBSMRelaisText(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetBSMRelaisText(std::uint8_t i, const char* text);

    bool GetSchaltcodeAdr(std::uint8_t i, std::uint16_t* adr) const;
    bool SetSchaltcodeAdr(std::uint8_t i, std::uint16_t adr);
    bool GetSchaltcodeVideo(std::uint8_t i, std::uint8_t* video) const;
    bool SetSchaltcodeVideo(std::uint8_t i, std::uint8_t video);
    bool GetSchaltcodeText(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetSchaltcodeText(std::uint8_t i, const char* text);

    bool GetTuerrufText(std::uint8_t tuer, char* buffer, std::size_t size) const;
    bool SetTuerrufText(std::uint8_t tuer, const char* text);

    std::uint8_t GetTypeMox() const { return MoxGetTypeMox(m_pData.get()); }
    bool GetVersionMox(char* buffer, std::size_t size) const;
    bool GetVersionKMR(char* buffer, std::size_t size) const;

    std::uint8_t GetTypeIT() const { return MoxGetTypeIT(m_pData.get()); }
    // A new type also empties every subscriber.
    bool SetTypeIT(std::uint8_t type);
    std::uint8_t GetTypeRAK() const { return MoxGetTypeRAK(m_pData.get()); }
    bool SetTypeRAK(std::uint8_t type);
    std::uint8_t GetTypeBSM() const { return MoxGetTypeBSM(m_pData.get()); }
    bool SetTypeBSM(std::uint8_t type);
    std::uint8_t GetTypeKMR() const { return MoxGetTypeKMR(m_pData.get()); }
    bool SetTypeKMR(std::uint8_t type);

    // --- counts
    std::uint8_t GetAnzTln() const { return MoxGetAnzTln(m_pData.get()); }
    std::uint8_t GetAnzPG() const { return MoxGetAnzPG(m_pData.get()); }
    // 12 with a universal controller, else 0.
    std::uint8_t GetAnzRAK() const;

    // --- subscribers
    bool GetTlnRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetTlnRnr(std::uint8_t i, const char* rnr);
    std::uint16_t GetTlnBusAdr(std::uint8_t i) const { return MoxGetTlnBusAdr(m_pData.get(), i); }
    bool SetTlnBusAdr(std::uint8_t i, std::uint16_t adr);
    std::uint16_t GetTlnLogAdr(std::uint8_t i) const { return MoxGetTlnLogAdr(m_pData.get(), i); }
    bool SetTlnLogAdr(std::uint8_t i, std::uint16_t adr);
    std::uint8_t GetTlnVideo(std::uint8_t i) const { return MoxGetTlnVideo(m_pData.get(), i); }
    bool SetTlnVideo(std::uint8_t i, std::uint8_t video);

    // --- permission groups
    bool GetPGPin(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetPGPin(std::uint8_t i, const char* pin);

#define MOX_DOC_PG_RIGHT(Right)                                                                    \
    std::uint8_t GetPG##Right(std::uint8_t i) const {                                              \
        return MoxGetPG##Right(m_pData.get(), i);                                                  \
    }                                                                                              \
    bool SetPG##Right(std::uint8_t i, std::uint8_t value);
    MOX_DOC_PG_RIGHT(Tueroeffner)
    MOX_DOC_PG_RIGHT(Licht)
    MOX_DOC_PG_RIGHT(Tueranwahl)
    MOX_DOC_PG_RIGHT(MultifktRelais)
    MOX_DOC_PG_RIGHT(RAK)
    MOX_DOC_PG_RIGHT(Tuermatik)
    MOX_DOC_PG_RIGHT(Kettenruf)
    MOX_DOC_PG_RIGHT(Signalisierung)
    MOX_DOC_PG_RIGHT(Diversion)
    MOX_DOC_PG_RIGHT(Einwahl)
    MOX_DOC_PG_RIGHT(TuermatikEin)
    MOX_DOC_PG_RIGHT(KettenrufEin)
    MOX_DOC_PG_RIGHT(SignalisierungEin)
    MOX_DOC_PG_RIGHT(DiversionEin)
    MOX_DOC_PG_RIGHT(TuermatikSignal)
    MOX_DOC_PG_RIGHT(Schaltcode78)
#undef MOX_DOC_PG_RIGHT

    std::uint8_t GetPGSchaltcode(std::uint8_t i, std::uint8_t n) const {
        return MoxGetPGSchaltcode(m_pData.get(), i, n);
    }
    bool SetPGSchaltcode(std::uint8_t i, std::uint8_t n, std::uint8_t value);

    bool GetPGKettenRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetPGKettenRnr(std::uint8_t i, const char* rnr);
    bool GetPGSignalRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetPGSignalRnr(std::uint8_t i, const char* rnr);
    bool GetPGDiversionRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetPGDiversionRnr(std::uint8_t i, const char* rnr);

    std::uint16_t GetPGTlnIdx(std::uint8_t i) const {
        return MoxGetPGTlnIdx(m_pData.get(), i);
    }
    bool SetPGTlnIdx(std::uint8_t i, std::uint16_t tlnIdx);
    std::uint8_t GetPGSchaltausgang(std::uint8_t i, std::uint8_t n) const {
        return MoxGetPGSchaltausgang(m_pData.get(), i, n);
    }
    bool SetPGSchaltausgang(std::uint8_t i, std::uint8_t n, std::uint8_t value);

    // --- switching outputs
    std::uint8_t GetMfrMode(std::uint16_t* tlnIdx) const {
        return MoxGetMfrMode(m_pData.get(), tlnIdx);
    }
    bool SetMfrMode(std::uint8_t mode, std::uint16_t tlnIdx);
    std::uint8_t GetRAKAusgangMode(std::uint8_t i, std::uint16_t* tlnIdx) const {
        return MoxGetRAKAusgangMode(m_pData.get(), i, tlnIdx);
    }
    bool SetRAKAusgangMode(std::uint8_t i, std::uint8_t mode, std::uint16_t tlnIdx);
    std::uint8_t GetRAKAusgangSprache(std::uint8_t i) const {
        return MoxGetRAKAusgangSprache(m_pData.get(), i);
    }
    bool SetRAKAusgangSprache(std::uint8_t i, std::uint8_t sprache);

    bool GetSchaltausgangsText(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetSchaltausgangsText(std::uint8_t i, const char* text);
    bool GetMeldeeingangsText(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetMeldeeingangsText(std::uint8_t i, const char* text);
    bool GetEtagenrufText(char* buffer, std::size_t size) const;
    bool SetEtagenrufText(const char* text);

    // --- SMS providers
    bool GetSMSProvider(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetSMSProvider(std::uint8_t i, const char* name);
    bool GetSMSRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetSMSRnr(std::uint8_t i, const char* rnr);
    std::uint8_t GetSMSProtokoll(std::uint8_t i) const {
        return MoxGetSMSProtokoll(m_pData.get(), i);
    }
    bool SetSMSProtokoll(std::uint8_t i, std::uint8_t protokoll);

    // --- the box's signal input (Mfe)
    std::uint8_t GetMfeMode() const {
        return MoxGetMfeMode(m_pData.get());
    }
    bool SetMfeMode(std::uint8_t mode);
    bool SetMfeUndefined();
    bool SetMfeMfr();
    bool GetMfeEtagenruf(char* buffer, std::size_t size) const;
    bool SetMfeEtagenruf(const char* rnr);
    std::uint8_t GetMfeDirektruf() const {
        return MoxGetMfeDirektruf(m_pData.get());
    }
    bool SetMfeDirektruf(std::uint8_t value);
    std::uint8_t GetMfeKettenruf() const {
        return MoxGetMfeKettenruf(m_pData.get());
    }
    bool SetMfeKettenruf(std::uint8_t value);
    std::uint8_t GetMfeSprache() const {
        return MoxGetMfeSprache(m_pData.get());
    }
    bool SetMfeSprache(std::uint8_t value);
    bool SetMfeSMSOptionen(std::uint8_t smsKeinDirektruf, std::uint8_t smsKeinKettenruf,
                           std::uint8_t smsImmer, std::uint8_t smsKeineVerbindung);
    std::uint8_t GetMfeSMSKeinDirektruf() const {
        return MoxGetMfeSMSKeinDirektruf(m_pData.get());
    }
    std::uint8_t GetMfeSMSKeinKettenruf() const {
        return MoxGetMfeSMSKeinKettenruf(m_pData.get());
    }
    std::uint8_t GetMfeSMSImmer() const {
        return MoxGetMfeSMSImmer(m_pData.get());
    }
    std::uint8_t GetMfeSMSVerbindung() const {
        return MoxGetMfeSMSVerbindung(m_pData.get());
    }
    bool GetMfeDirektRnr(char* buffer, std::size_t size) const;
    bool SetMfeDirektRnr(const char* rnr);
    bool GetMfeKettenRnr(char* buffer, std::size_t size) const;
    bool SetMfeKettenRnr(const char* rnr);
    bool GetMfeSMSRnr(std::uint8_t* providerIdx, char* buffer, std::size_t size) const;
    bool SetMfeSMSRnr(std::uint8_t providerIdx, const char* rnr);
    bool GetMfeTuermatikPGIdx(std::uint8_t* pgIdx) const {
        return MoxGetMfeTuermatikPGIdx(m_pData.get(), pgIdx);
    }
    bool GetMfeDiversionPGIdx(std::uint8_t* pgIdx) const {
        return MoxGetMfeDiversionPGIdx(m_pData.get(), pgIdx);
    }
    std::uint8_t GetMfeConcierge() const {
        return MoxGetMfeConcierge(m_pData.get());
    }
    bool SetMfeMeldefkt(std::uint8_t direktruf, const char* direktRnr, std::uint8_t kettenruf,
                        const char* kettenRnr, std::uint8_t providerIdx, const char* smsRnr,
                        std::uint8_t smsKeinDirektruf, std::uint8_t smsKeinKettenruf,
                        std::uint8_t smsImmer, std::uint8_t smsKeineVerbindung,
                        std::uint8_t sprache);
    bool SetMfeSchaltuhr(std::uint8_t option, std::uint8_t pgIdx);

    // --- the controller's signal inputs (RAKEingang)
    std::uint8_t GetRAKEingangMode(std::uint8_t i) const {
        return MoxGetRAKEingangMode(m_pData.get(), i);
    }
    bool SetRAKEingangMode(std::uint8_t i, std::uint8_t mode);
    bool SetRAKEingangUndefined(std::uint8_t i);
    std::uint8_t GetRAKEingangDirektruf(std::uint8_t i) const {
        return MoxGetRAKEingangDirektruf(m_pData.get(), i);
    }
    bool SetRAKEingangDirektruf(std::uint8_t i, std::uint8_t value);
    std::uint8_t GetRAKEingangKettenruf(std::uint8_t i) const {
        return MoxGetRAKEingangKettenruf(m_pData.get(), i);
    }
    bool SetRAKEingangKettenruf(std::uint8_t i, std::uint8_t value);
    std::uint8_t GetRAKEingangSprache(std::uint8_t i) const {
        return MoxGetRAKEingangSprache(m_pData.get(), i);
    }
    bool SetRAKEingangSprache(std::uint8_t i, std::uint8_t value);
    bool SetRAKEingangSMSOptionen(std::uint8_t i, std::uint8_t smsKeinDirektruf,
                                  std::uint8_t smsKeinKettenruf, std::uint8_t smsImmer,
                                  std::uint8_t smsKeineVerbindung);
    std::uint8_t GetRAKEingangSMSKeinDirektruf(std::uint8_t i) const {
        return MoxGetRAKEingangSMSKeinDirektruf(m_pData.get(), i);
    }
    std::uint8_t GetRAKEingangSMSKeinKettenruf(std::uint8_t i) const {
        return MoxGetRAKEingangSMSKeinKettenruf(m_pData.get(), i);
    }
    std::uint8_t GetRAKEingangSMSImmer(std::uint8_t i) const {
        return MoxGetRAKEingangSMSImmer(m_pData.get(), i);
    }
    std::uint8_t GetRAKEingangSMSVerbindung(std::uint8_t i) const {
        return MoxGetRAKEingangSMSVerbindung(m_pData.get(), i);
    }
    bool GetRAKEingangDirektRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetRAKEingangDirektRnr(std::uint8_t i, const char* rnr);
    bool GetRAKEingangKettenRnr(std::uint8_t i, char* buffer, std::size_t size) const;
    bool SetRAKEingangKettenRnr(std::uint8_t i, const char* rnr);
    bool GetRAKEingangSMSRnr(std::uint8_t i, std::uint8_t* providerIdx, char* buffer,
                             std::size_t size) const;
    bool SetRAKEingangSMSRnr(std::uint8_t i, std::uint8_t providerIdx, const char* rnr);
    bool GetRAKEingangTuermatikPGIdx(std::uint8_t i, std::uint8_t* pgIdx) const {
        return MoxGetRAKEingangTuermatikPGIdx(m_pData.get(), i, pgIdx);
    }
    bool GetRAKEingangDiversionPGIdx(std::uint8_t i, std::uint8_t* pgIdx) const {
        return MoxGetRAKEingangDiversionPGIdx(m_pData.get(), i, pgIdx);
    }
    std::uint8_t GetRAKEingangConcierge(std::uint8_t i) const {
        return MoxGetRAKEingangConcierge(m_pData.get(), i);
    }
    bool SetRAKEingangMeldefkt(std::uint8_t i, std::uint8_t direktruf, const char* direktRnr,
                               std::uint8_t kettenruf, const char* kettenRnr,
                               std::uint8_t providerIdx, const char* smsRnr,
                               std::uint8_t smsKeinDirektruf, std::uint8_t smsKeinKettenruf,
                               std::uint8_t smsImmer, std::uint8_t smsKeineVerbindung,
                               std::uint8_t sprache);
    bool SetRAKEingangSchaltuhr(std::uint8_t i, std::uint8_t option, std::uint8_t pgIdx);

    // --- camera device
    std::uint8_t GetKMRKameratyp() const {
        return MoxGetKMRKameratyp(m_pData.get());
    }
    bool SetKMRKameratyp(std::uint8_t value);
    bool GetKMRCodierqual(std::uint8_t* value) const {
        return MoxGetKMRCodierqual(m_pData.get(), value);
    }
    bool SetKMRCodierqual(std::uint8_t value);
    bool GetKMRHelligkeit(std::uint8_t* value) const {
        return MoxGetKMRHelligkeit(m_pData.get(), value);
    }
    bool SetKMRHelligkeit(std::uint8_t value);
    bool GetKMRKontrast(std::uint8_t* value) const {
        return MoxGetKMRKontrast(m_pData.get(), value);
    }
    bool SetKMRKontrast(std::uint8_t value);
    bool GetKMRSaettigung(std::uint8_t* value) const {
        return MoxGetKMRSaettigung(m_pData.get(), value);
    }
    bool SetKMRSaettigung(std::uint8_t value);
    std::uint8_t GetKMRBandbreite() const {
        return MoxGetKMRBandbreite(m_pData.get());
    }
    bool SetKMRBandbreite(std::uint8_t value);

    // --- page resets; each marks the document modified first
    void InitTuerrufTexte();
    void InitMfe();
    void InitMfr();
    // Also puts back the settings' country and language.
    void InitKTXKonfig();
    // Also loads the SMS default file of the settings' country.
    void InitSMS();
    void InitKMR();
    void InitRAKAusgang();
    void InitRAKEingang();
    void InitBSMRelais();
    // bDelete: MoxDeleteAllTln, else MoxInitAllTln; subscriber addresses are
    // written again afterwards.
    void InitAllTln(bool bDelete);
    void InitSystem();
    void InitPG();
    void InitSperrnr();
    void InitSchaltcode();
    void InitTln(std::uint8_t i);

private:
    // One package of a send: the section (with the index for repeated
    // sections) written into the image buffer and handed to the controller.
    bool WriteTaggedPackage(std::uint8_t section, std::uint8_t index);
    // The largest package the current configuration gives, and its section.
    std::uint32_t LargestPackage(std::uint8_t* pSection);
    void ReplaceData(std::unique_ptr<MoxDaten> pData);
    void AllocFreshData();
    bool LoadFileInto(const std::string& path, std::unique_ptr<MoxDaten>* ppData);
    // Step of the package sequence of a send: the package of the state (and
    // index) given, and the state after it. False at the end.
    bool NextPackage(std::uint8_t* pState, std::int32_t* pIdx, std::uint8_t* pSection,
                     std::uint8_t* pIndex) const;
    void SetUnnamedName();
    // The language of a record just opened becomes the program's, when it
    // names one of the six.
    void TakeLanguageOfRecord();
    void RefreshLanguage();
    const char* Text(int id) const;
    int ShowMessage(int textId, eDocMsgIcon icon);

    // Text setters compare as NUL-terminated strings; the current value is
    // read into m_szScratch.
    bool TextDiffers(bool bHaveCurrent, const char* newText) const;

    IDocLanguageRefresh* m_pMainFrame;
    bool m_bModified = false;
    TkResourcen* m_pRes;
    IDocTransfer* m_pDataTransfer;
    std::uint8_t m_nWriteState = kWriteStateIdle;
    std::int32_t m_nPackageIdx = 0;
    std::string m_FileName;
    bool m_bUnnamed = true;
    std::unique_ptr<MoxDaten> m_pData;
    std::unique_ptr<std::uint8_t[]> m_Image;
    char m_szScratch[64] = {};
    bool m_bFresh = false;
    bool m_bReadFromBox = false;

    IDocMessageBox* m_pMessageBox = nullptr;
    IDocFileSystem* m_pFileSystem;
    std::string m_ResDir;
    eDocFileResult m_eLastFileResult = eDocFileOk;
    int m_nLastFileErrno = 0;
};
