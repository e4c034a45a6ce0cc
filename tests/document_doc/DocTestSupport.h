#pragma once
// Fakes and a fixture for the document's tests: the main window's language
// refresh, the transfer controller (playing the controller's side of a send
// or a read), the message box, and a file system that fails on request.
// Every test gets its own folder, settings file and language file, so tests
// run in parallel without touching each other or the user's settings.

#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "IDocLanguageRefresh.h"
#include "IDocMessageBox.h"
#include "IDocTransfer.h"
#include "TMoxDocument.h"
#include "TPosixDocFileSystem.h"
#include "TkResourcen.h"

// ----------------------------------------------------------------- fakes

class FakeMainFrame : public IDocLanguageRefresh {
public:
    void RefreshLanguage() override { ++refreshes; }
    int refreshes = 0;
};

class FakeMessageBox : public IDocMessageBox {
public:
    struct Shown {
        int textId;
        std::string text;
        eDocMsgIcon icon;
    };
    int ShowMessage(int textId, const std::string& text, const std::string&, eDocMsgIcon icon,
                    eDocMsgButtons) override {
        shown.push_back({textId, text, icon});
        return eDocAnswerOk;
    }
    std::vector<Shown> shown;
};

// Block commands as the controller would choose them for each package.
enum class BlockCmd { First, Data, End };

struct SentPackage {
    std::vector<std::uint8_t> bytes;
    BlockCmd cmd;
};

// Plays the transfer controller. A send: the first package comes with
// SetTransferData; after every "acknowledged" block the owner is asked for
// the next package (OnNeedTransferData, as the main window does on
// WM_NEED_TRANSFER_DATA) and, before it goes out, whether more follow
// (MoreAnlDataToComPort on WM_MORE_TRANSFER_DATA). A read: the prepared
// image is copied into the caller's buffer.
class FakeTransfer : public IDocTransfer {
public:
    void SetInfoText(const char* text) override { infoText = text ? text : ""; }
    void SetTransferData(int m, std::uint8_t* buffer, std::uint32_t length) override {
        mode = m;
        buf = buffer;
        len = length;
    }
    void SetTeleAnz(std::uint16_t count) override { teleAnz = count; }
    int ShowModal() override;
    void SetTransferBuf(std::uint8_t* buffer, std::uint32_t length) override {
        buf = buffer;
        len = length;
    }
    void SetMoreData(bool m) override { more = m; }
    std::uint32_t GetBlockLen() const override { return 1024; }

    TMoxDocument* doc = nullptr;         // the owner
    bool mainWindowLoop = false;         // answer as the main window did: up to four calls
    int result = eDocTransferOk;         // what ShowModal answers
    std::vector<std::uint8_t> readImage; // served on a read

    int mode = 0;
    std::uint8_t* buf = nullptr;
    std::uint32_t len = 0;
    std::uint16_t teleAnz = 0;
    bool more = false;
    std::string infoText;
    int modalRuns = 0;
    bool endedWithEmptyPackage = false;
    std::vector<SentPackage> sent;
};

// Wraps the real file calls and fails where asked: a folder that refuses new
// files (as a read-only folder does), a device that takes only so many bytes
// and then reports it is full, a failing flush or rename.
class FailingFileSystem : public IDocFileSystem {
public:
    int Open(const std::string& path, int flags, mode_t mode) override;
    ssize_t Read(int fd, void* buffer, size_t count) override {
        return real.Read(fd, buffer, count);
    }
    ssize_t Write(int fd, const void* buffer, size_t count) override;
    int Fsync(int fd) override;
    int Close(int fd) override { return real.Close(fd); }
    int Rename(const std::string& from, const std::string& to) override;
    int Unlink(const std::string& path) override { return real.Unlink(path); }

    std::string readOnlyDir;  // creating files in here fails with EACCES
    long failAfterBytes = -1; // writes beyond this many bytes fail with ENOSPC
    bool failFsync = false;
    bool failRename = false;
    long written = 0;
    int creates = 0;

private:
    TPosixDocFileSystem real;
};

// ----------------------------------------------------------------- helpers

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// Names of the entries of a folder.
std::vector<std::string> ListDir(const std::string& dir);
// The bytes of a hex fixture ("#" comments), padded with 0xFF to size.
std::vector<std::uint8_t> ReadHexFixture(const std::string& path, size_t size);
// A ".spt" language file holding the given texts.
void WriteSptFile(const std::string& path, const std::map<int, std::string>& texts);
// The first section of a package, from its first tag (0 when it is empty).
std::uint8_t SectionOfPackage(const std::vector<std::uint8_t>& bytes);

// ----------------------------------------------------------------- fixture

class DocTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A document as the main window makes it: unnamed, with the fakes.
    std::unique_ptr<TMoxDocument> MakeDoc();
    std::string Path(const std::string& name) const { return m_Dir + "/" + name; }
    std::string ResDir() const { return m_Dir + "/res"; }
    void WriteSms(const std::string& fileName, const std::string& content);

    std::string m_Dir;
    FakeMainFrame m_MainFrame;
    FakeTransfer m_Transfer;
    FakeMessageBox m_MessageBox;
    std::unique_ptr<TkResourcen> m_pRes;
};
