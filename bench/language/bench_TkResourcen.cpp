// Loading a full language file: 10000 texts and 10000 hints, read from disk,
// checked, split and unescaped. Run with --benchmark_repetitions=10 for the
// median.

#include "ErrorBox.h"
#include "SettingsStore.h"
#include "SptReader.h"
#include "TkResourcen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Texts of a realistic length with a line break or a tab now and then.
std::string FullLanguageFile() {
    std::string bytes;
    for (int id = 0; id < SptTable::kRecords; ++id) {
        bytes += "Text " + std::to_string(id) + " f\xFCr die Konfiguration der Anlage";
        if (id % 7 == 0)
            bytes += "\\nzweite Zeile\\tmit Tab";
        bytes += '\0';
        bytes += "Hinweis " + std::to_string(id) + " zu diesem Feld";
        bytes += '\0';
    }
    return bytes;
}

struct Folder {
    Folder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "mox-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            std::abort();
        dir = tmpl;
        std::filesystem::create_directories(dir / "res");
        bytes = FullLanguageFile();
        std::ofstream(dir / "res" / "ktx_d.spt", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        mox::platform::SettingsStore::SetInstanceForTesting(
            mox::platform::SettingsStore::OpenFile((dir / "settings.ini").string()));
        TkResourcen::SetProgramDirForTesting(dir.string());
        ErrorBox::SetHandlerForTesting([](const ErrorBox::Request&) {
            std::abort();
            return ErrorBox::Answer::Ok;
        });
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    std::string bytes;
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_LoadFullLanguageFile(benchmark::State& state) {
    Folder& f = TheFolder();
    TkResourcen res;
    const std::string path = (f.dir / "res" / "ktx_d.spt").string();
    for (auto _ : state) {
        if (!res.LoadFile(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(res.GetText(9999));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(f.bytes.size()));
}
BENCHMARK(BM_LoadFullLanguageFile)->Unit(benchmark::kMillisecond);

void BM_ParseFullLanguageFile(benchmark::State& state) {
    const std::string& bytes = TheFolder().bytes;
    SptTable table;
    std::string error;
    for (auto _ : state) {
        if (!SptReader::Parse(bytes, table, error))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(table.Text(9999));
    }
}
BENCHMARK(BM_ParseFullLanguageFile)->Unit(benchmark::kMillisecond);

} // namespace
