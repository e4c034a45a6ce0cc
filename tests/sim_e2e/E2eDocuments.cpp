#include "E2eDocuments.h"

#include "DocTextIds.h"
#include "ErrorBox.h"
#include "TKtxImage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <unistd.h>

namespace {

// A ".spt" language file: per id from 0 on, the text and the hint, each
// closed by a 0 byte.
void WriteSpt(const std::string& path, const std::map<int, std::string>& texts) {
    std::string bytes;
    const int last = texts.empty() ? 0 : texts.rbegin()->first;
    for (int id = 0; id <= last; ++id) {
        const auto it = texts.find(id);
        if (it != texts.end())
            bytes += it->second;
        bytes += '\0';
        bytes += '\0';
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

E2eDocuments::E2eDocuments() {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/mox-e2e-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("no temporary folder");
    m_Dir = tmpl;
    std::filesystem::create_directory(m_Dir + "/res");
    TkResourcen::SetProgramDirForTesting(m_Dir);
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request&) { return ErrorBox::Answer::Ok; });
    m_pRes = std::make_unique<TkResourcen>();
    const std::string spt = m_Dir + "/texts.spt";
    WriteSpt(spt, {{kDocTextUnnamed, "unbenannt"},
                   {kDocTextCaption, "mox"},
                   {kDocTextSendInfo, "sending"},
                   {kDocTextReceiveInfo, "reading"},
                   {kDocTextTexteTooLong, "texts too long"},
                   {kDocTextPackageTooLong, "package too long"}});
    m_pRes->LoadFile(spt);
}

E2eDocuments::~E2eDocuments() {
    m_pRes.reset();
    ErrorBox::SetHandlerForTesting({});
    TkResourcen::SetProgramDirForTesting({});
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

std::unique_ptr<TMoxDocument> E2eDocuments::Make(IDocTransfer* transfer) {
    auto doc = std::make_unique<TMoxDocument>(this, m_pRes.get(), transfer);
    doc->SetMessageBox(this);
    return doc;
}

std::vector<std::uint8_t> E2eDocuments::ImageOf(const TMoxDocument& doc) {
    MoxDaten copy = *doc.GetDaten();
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(&copy, image.data());
    return image;
}

int E2eDocuments::ShowMessage(int, const std::string& text, const std::string&, eDocMsgIcon,
                              eDocMsgButtons) {
    messages.push_back(text);
    return eDocAnswerOk;
}
