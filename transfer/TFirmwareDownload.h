#pragma once
// The firmware download of the transfer controller: the modal run of mode 8.
//
// After the start delay it asks both devices for the header of the firmware
// they run (box: steps 13-15, camera device: 16-18; a missing camera device
// is no error) and then waits, at mode 0, for the user. The user's start
// runs 11 (download mode) -> 19 (erase) -> 20 (write every block) -> 10
// (checksum) -> 22 (remove the old image) -> 21 (restart) or 12 (leave
// download mode). Every command waits for its answer under a named
// time-out; the third time-out in a row fails the step. A failed step shows
// its message and ends the run with result 0; a partly written image is
// removed once the user has read why.
//
// Once erasing has begun, a cancel would leave the device without usable
// firmware: the user is asked first. A confirmed cancel is handled as a
// failed write (the new image removed, download mode left), and the user is
// told the device was not updated; declined, the download goes on.
//
// The file is checked whole before the device is touched (TDownloadFile).
// The dialog's firmware group is a plain model (TFirmwareGroup) rendered by
// the form through IFirmwareView.
//
// GUI thread only. Every run ends exactly once, through the engine's
// SetResult; a send that fails on the link goes through the step's failure
// path, never a second end.

#include "HeaderRecord.h"
#include "IFirmwareView.h"
#include "TDownloadFile.h"
#include "TFirmwareGroup.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ITransferClock;
class TDataTransferEngine;
class TTkDataMsg;

class TFirmwareDownload {
public:
    TFirmwareDownload(TDataTransferEngine& engine, ITransferClock& clock);

    TFirmwareDownload(const TFirmwareDownload&) = delete;
    TFirmwareDownload& operator=(const TFirmwareDownload&) = delete;

    void SetView(IFirmwareView* view) { m_pView = view; }

    // ---- The firmware page ----
    // Keeps the file for the next run.
    void SetFWFileName(const std::string& name);
    // False (name untouched) when none is kept.
    bool GetFWFileName(std::string& name) const;

    // ---- The dialog ----
    // The user chose a file in the dialog's file dialog. Refused while a
    // download step uses the loaded file.
    void OnFWDateiLaden(const std::string& path);
    // The user's start of the download (only while the run waits for it).
    void OnFWDownloadStarten();
    // The answer to AskRestart.
    void OnRestartAnswer(bool yes);
    // The user closed the box of ShowFWMessageAndWait.
    void OnFWMessageClosed();
    // The answer to AskCancel.
    void OnCancelAnswer(bool yes);

    // ---- The engine's hooks ----
    // Any transfer starts: a firmware run starts only with StartFirmware.
    void OnTransferStart();
    // Mode 8 after the start delay, the mode at 13.
    bool StartFirmware();
    void WorkOnFirmwareStep(int mode, const TTkDataMsg* pMsg);
    // The run ends while the mode is 8..23: both devices leave download
    // mode, without waiting for answers.
    void OnFirmwareStop();
    // The user cancels the run: true when the download deals with it itself
    // (it asks first, or a removal under way ends the run); false for the
    // plain cancel.
    bool OnCancelRequest();

    // ---- State ----
    const TFirmwareGroup& GetGroup() const { return m_Group; }
    const TDownloadFile& GetFile() const { return m_File; }
    const HeaderRecord& GetKTXHeader() const { return m_KTXHeader; }
    const HeaderRecord& GetKMRHeader() const { return m_KMRHeader; }
    int GetTargetDevice() const { return m_byTargetDevice; }
    bool IsSuccess() const { return m_bSuccess; }
    int GetRetry() const { return m_nRetry; }
    int GetBlockCounter() const { return m_nBlockCounter; }
    bool IsAskingRestart() const { return m_bAskRestart; }
    bool IsAskingCancel() const { return m_bAskCancel; }
    bool IsWaitingForMessage() const { return m_bAwaitMessage; }
    // The user confirmed a cancel of this download.
    bool IsCancelled() const { return m_bCancelled; }

private:
    enum class eAnswer { Expected, Nak, Missing };

    bool IsFirmwareRun() const;
    int Mode() const;
    void SetMode(int mode);
    int MaxBloecke() const { return GetMaxBloecke(m_byTargetDevice); }
    int MaxDelBloecke() const { return GetMaxDelBloecke(m_byTargetDevice); }

    // Loads the kept file into the block table; drops it when it fails.
    void LoadKeptFile();
    void ShowFirmwarePage();
    void ShowFileHeader();
    void ShowDeviceHeaders();
    bool StoreDeviceHeader(const std::uint8_t* data, std::uint16_t len);
    void ClearFWHeaders();
    void SetFWProgress(int min, int max, int pos, int step);
    void UpdateFWStatus(int pos);
    void Publish();
    void Message(int textId, int captionId);
    // Every question and wait of the run is over.
    void ClearQuestions();
    // Once per cancelled run: the device was not updated.
    void TellNotUpdated();

    // Continues with the step now in the mode, or the failure path.
    void Continue();
    void FailurePath();
    // Shows why, then removes the new image once the user has read it.
    void RemoveNewImageAfter(int textId);
    void RemoveNewImage();
    // A removal of the new image, or the wait before it, is under way: it
    // ends the run by itself.
    bool IsRemovingNewImage() const;
    void Fail();
    void GoTo(int mode);
    eAnswer Classify(const TTkDataMsg* pMsg, std::uint8_t expected) const;
    // Counts a missing answer; true when the step has failed with it.
    bool MissingFails();

    bool SendFWMessageBlock(std::uint8_t cmd, std::uint16_t block);
    bool SendFirmwareBlock(int n);
    void InitiateFWReceiveFirmwareHeader();
    void InitiateFWReceiveFirmwareChk();
    void InitiateFWStartDownload();
    void InitiateFWStopDownload();
    void InitiateFWDeleteBlock();
    void InitiateFWSendBlock();
    void InitiateFWReset();
    void InitiateFWKillFirmware(std::uint16_t which);

    void WorkOnFWStartKTXDownload(const TTkDataMsg* pMsg);
    void WorkOnFWReceiveKTXFirmwareHeader(const TTkDataMsg* pMsg);
    void WorkOnFWStopKTXDownload(const TTkDataMsg* pMsg);
    void WorkOnFWStartKMRDownload(const TTkDataMsg* pMsg);
    void WorkOnFWReceiveKMRFirmwareHeader(const TTkDataMsg* pMsg);
    void WorkOnFWStopKMRDownload(const TTkDataMsg* pMsg);
    void WorkOnFWReceiveFirmwareChk(const TTkDataMsg* pMsg);
    void WorkOnFWStartDownload(const TTkDataMsg* pMsg);
    void WorkOnFWStopDownload(const TTkDataMsg* pMsg);
    void WorkOnFWDeleteBlock(const TTkDataMsg* pMsg);
    void WorkOnFWSendBlock(const TTkDataMsg* pMsg);
    void WorkOnFWReset(const TTkDataMsg* pMsg);
    void WorkOnFWKillFirmware(const TTkDataMsg* pMsg);
    // Header answer of either device: store, then on to next.
    void WorkOnFWHeader(const TTkDataMsg* pMsg, int next);
    // True for the answer the step waits for; any other answer has been
    // dealt with: the command went again, or the step failed.
    bool Answered(const TTkDataMsg* pMsg, std::uint8_t expected);
    // The step's command again, unchanged (the retry count goes on).
    void Resend();
    // One device's stop command, sent without waiting for an answer; then
    // is told when it is through or lost.
    bool QueueStop(std::uint8_t device, std::function<void(bool)> then = {});

    TDataTransferEngine& m_Engine;
    ITransferClock& m_Clock;
    IFirmwareView* m_pView = nullptr;

    std::optional<std::string> m_strFileName;
    TDownloadFile m_File;
    HeaderRecord m_KTXHeader;
    HeaderRecord m_KMRHeader;
    std::uint8_t m_byTargetDevice = eFWDeviceKTX;
    int m_nBlockCounter = 0;
    int m_nRetry = 0;
    bool m_bSuccess = false;
    std::optional<std::uint64_t> m_StartTick;
    bool m_bRun = false;
    bool m_bAskRestart = false;
    // A box the download waits on before it removes the new image.
    bool m_bAwaitMessage = false;
    // The cancel question is open. The step's answer (or its time-out) that
    // comes meanwhile waits in m_Held: nothing new is sent until the user
    // has answered.
    bool m_bAskCancel = false;
    struct HeldAnswer {
        std::vector<std::uint8_t> bytes; // empty: the time-out
    };
    std::optional<HeldAnswer> m_Held;
    // Confirmed, but the step's command is still out: its answer or time-out
    // comes before the removal, or the device's answer to it would be taken
    // for the removal's.
    bool m_bCancelAfterAnswer = false;
    bool m_bCancelled = false;
    bool m_bToldNotUpdated = false;
    TFirmwareGroup m_Group;
    // The port may report a stop's outcome after this object is gone; it
    // then finds this expired.
    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);
};
