#include "DocTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

#include "ErrorBox.h"
#include "MoxTagged.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TaggedStream.h"

// ----------------------------------------------------------------- FakeTransfer

int FakeTransfer::ShowModal() {
    ++modalRuns;
    sent.clear();
    endedWithEmptyPackage = false;
    if (mode == eDocReceiveAnlDaten) {
        if (buf && !readImage.empty())
            std::memcpy(buf, readImage.data(), std::min<size_t>(readImage.size(), len));
        return result;
    }
    if (mode != eDocSendAnlDaten || !buf || len == 0)
        return eDocTransferFailed;
    sent.push_back({std::vector<std::uint8_t>(buf, buf + len), BlockCmd::First});
    // More packages than any configuration has: the sequence must end.
    for (int guard = 0; guard < 500; ++guard) {
        if (doc && mainWindowLoop) {
            // The main window's own rule: ask again while the package came
            // out empty, at most four times.
            for (int call = 0; call < 4 && !doc->WriteAnlDataToComPort(); ++call) {
            }
        } else if (doc) {
            doc->OnNeedTransferData();
        }
        if (len == 0) {
            endedWithEmptyPackage = true;
            return result;
        }
        if (doc)
            doc->MoreAnlDataToComPort();
        sent.push_back(
            {std::vector<std::uint8_t>(buf, buf + len), more ? BlockCmd::Data : BlockCmd::End});
    }
    return eDocTransferFailed;
}

// ----------------------------------------------------------------- FailingFileSystem

int FailingFileSystem::Open(const std::string& path, int flags, mode_t mode) {
    if (flags & O_CREAT) {
        ++creates;
        if (!readOnlyDir.empty() && path.rfind(readOnlyDir + "/", 0) == 0) {
            errno = EACCES;
            return -1;
        }
    }
    return real.Open(path, flags, mode);
}

ssize_t FailingFileSystem::Write(int fd, const void* buffer, size_t count) {
    if (failAfterBytes >= 0) {
        const long room = failAfterBytes - written;
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        if (static_cast<long>(count) > room)
            count = static_cast<size_t>(room); // a short write first, as a filling disk gives
    }
    const ssize_t n = real.Write(fd, buffer, count);
    if (n > 0)
        written += n;
    return n;
}

int FailingFileSystem::Fsync(int fd) {
    if (failFsync) {
        errno = EIO;
        return -1;
    }
    return real.Fsync(fd);
}

int FailingFileSystem::Rename(const std::string& from, const std::string& to) {
    if (failRename) {
        errno = EXDEV;
        return -1;
    }
    return real.Rename(from, to);
}

// ----------------------------------------------------------------- helpers

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDir(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        ::closedir(d);
    }
    return names;
}

std::vector<std::uint8_t> ReadHexFixture(const std::string& path, size_t size) {
    std::ifstream in(path);
    std::vector<std::uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.resize(hash);
        std::istringstream words(line);
        std::string w;
        while (words >> w)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(w, nullptr, 16)));
    }
    if (bytes.size() < size)
        bytes.resize(size, 0xFF);
    return bytes;
}

void WriteSptFile(const std::string& path, const std::map<int, std::string>& texts) {
    std::string bytes;
    const int last = texts.empty() ? 0 : texts.rbegin()->first;
    for (int id = 0; id <= last; ++id) {
        const auto it = texts.find(id);
        if (it != texts.end())
            bytes += it->second;
        bytes += '\0'; // text
        bytes += '\0'; // hint
    }
    WriteText(path, bytes);
}

std::uint8_t SectionOfPackage(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty())
        return 0;
    TaggedStream stream{};
    std::vector<std::uint8_t> copy = bytes;
    TagStrAttach(&stream, copy.data(), copy.size());
    std::int32_t tag = 0;
    TagStrReadTag(&stream, &tag);
    if (tag == 0x500)
        return eTaggedData_Concierge;
    if (tag >= 0x1000 && tag < 0x2000)
        return eTaggedData_Tln;
    if (tag >= 0x600 && tag < 0x700)
        return eTaggedData_PG;
    if (tag == 0x300)
        return eTaggedData_Mfe;
    if (tag == 0x400)
        return eTaggedData_Mfr;
    if (tag >= 0x200 && tag < 0x300)
        return eTaggedData_RAKAusgang;
    if (tag >= 0x100 && tag < 0x200)
        return eTaggedData_RAKEingang;
    if (tag >= 0x3000 && tag < 0x3400)
        return eTaggedData_Texte;
    if (tag >= 0x4000 && tag < 0x4100)
        return eTaggedData_SMS;
    if (tag == 0x800)
        return eTaggedData_KMR;
    if (tag == 0x2000)
        return eTaggedData_SysData;
    return 0xFF;
}

// ----------------------------------------------------------------- fixture

void DocTest::SetUp() {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/mox-doc-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    ASSERT_EQ(::mkdir(ResDir().c_str(), 0755), 0);
    // Settings and language file apart from the documents, so a test can
    // count the files a save leaves beside a document.
    ASSERT_EQ(::mkdir(Path("cfg").c_str(), 0755), 0);

    mox::platform::SettingsStore::SetInstanceForTesting(
        mox::platform::SettingsStore::OpenFile(Path("cfg/settings.ini")));
    SetPermLand(eLV_Deutschland);
    SetPermSprache(eSpracheDeutsch);

    // The SMS default files come from the test's own res/ folder.
    TkResourcen::SetProgramDirForTesting(m_Dir);
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request&) { return ErrorBox::Answer::Ok; });
    m_pRes = std::make_unique<TkResourcen>();
    WriteSptFile(Path("cfg/texts.spt"), {
                                            {kDocTextSmsProtocol1, "UCP"},
                                            {kDocTextSmsProtocol2, "TAP"},
                                            {kDocTextUnnamed, "unbenannt"},
                                            {kDocTextCaption, "mox"},
                                            {kDocTextReadException, "read failed"},
                                            {kDocTextSendInfo, "sending"},
                                            {kDocTextReceiveInfo, "reading"},
                                            {kDocTextTexteTooLong, "texts too long"},
                                            {kDocTextPackageTooLong, "package too long"},
                                        });
    ASSERT_TRUE(m_pRes->LoadFile(Path("cfg/texts.spt")));
}

void DocTest::TearDown() {
    ErrorBox::SetHandlerForTesting({});
    TkResourcen::SetProgramDirForTesting({});
    mox::platform::SettingsStore::SetInstanceForTesting(nullptr);
    if (!m_Dir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }
}

std::unique_ptr<TMoxDocument> DocTest::MakeDoc() {
    auto doc = std::make_unique<TMoxDocument>(&m_MainFrame, m_pRes.get(), &m_Transfer);
    doc->SetMessageBox(&m_MessageBox);
    m_Transfer.doc = doc.get();
    return doc;
}

void DocTest::WriteSms(const std::string& fileName, const std::string& content) {
    WriteText(ResDir() + "/" + fileName, content);
}
