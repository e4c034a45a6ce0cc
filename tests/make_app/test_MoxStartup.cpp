// The start-up, run in-process with its boxes answered by the test: a
// missing language file ends it with its error and no window, an
// unregistered bus control ends it with its error, the usage text, the
// mode from the command line, the wizard shown first and handing over to
// the main window; and the real program started as a process from another folder.

#include "MoxApp.h"

#include "ErrorBox.h"
#include "MoxDaten.h"
#include "PermSettings.h"
#include "Quell32Registration.h"
#include "SettingsStore.h"
#include "TAssiMain.h"
#include "TFileDialog.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

class Startup : public testing::Test {
protected:
    void SetUp() override {
        m_pSettings = std::make_unique<mox::test::TestSettingsFile>("start");
        ASSERT_TRUE(m_pSettings->Ok());
        m_Dir = m_pSettings->Dir();
        SetAssiMode(false);
        ErrorBox::SetHandlerForTesting([this](const ErrorBox::Request& r) {
            errors.push_back(r.text);
            return ErrorBox::Answer::Ok;
        });
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            boxes.push_back(r);
            return mb::kIdOk;
        });
    }
    void TearDown() override {
        MoxSetMainWindowHookForTesting({});
        ErrorBox::SetHandlerForTesting({});
        TMsgBox::SetHandlerForTesting({});
        TkResourcen::SetProgramDirForTesting("");
        m_pSettings.reset();
    }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "mox");
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(args.size());
        return MoxRun(argc, argv.data());
    }

    void RegisterQuell32() {
#ifdef MOX_QUELL32
        ASSERT_TRUE(mox::test::RegisterQuell32(MOX_QUELL32));
#else
        GTEST_SKIP() << "the bus control module is not built";
#endif
    }

    // Quits the loop once the main window shows; what it saw goes to seen.
    struct Seen {
        bool shown = false;
        int mode = 0;
        bool expert = false;
        bool assistentVisible = false;
    };
    void QuitWhenMainShows(Seen& seen) {
        MoxSetMainWindowHookForTesting([&seen](TMoxMain& main) {
            auto* poll = new QTimer(&main);
            // Each turn of the loop, not a time: the hand-over runs in the
            // loop's next turns.
            poll->setInterval(0);
            int turns = 0;
            QObject::connect(poll, &QTimer::timeout, &main, [&seen, &main, poll, turns]() mutable {
                if (main.isVisible() || ++turns > 1000) {
                    seen.shown = main.isVisible();
                    seen.mode = main.GetMode();
                    seen.expert = main.GetExpertFlag();
                    poll->stop();
                    QCoreApplication::exit(0);
                }
            });
            poll->start();
        });
    }

    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::vector<std::string> errors;
    std::vector<TMsgBox::Request> boxes;
};

// A language byte outside 1..6: stored in the settings it starts in German;
// in a file the main window opens it stays in the document and never
// reaches the settings, so the texts stay and the next start comes up.
class StartupLanguage : public Startup, public testing::WithParamInterface<int> {
protected:
    std::optional<std::uint32_t> StoredSprache() const {
        return mox::platform::SettingsStore::Instance().GetDword(kPermKey, kPermSprache);
    }
    // Runs the program until its main window shows; then `whenShown` runs
    // as the user's first action.
    bool RunUntilShown(const std::function<void(TMoxMain&)>& whenShown = {}) {
        bool shown = false;
        MoxSetMainWindowHookForTesting([&shown, whenShown](TMoxMain& main) {
            auto* poll = new QTimer(&main);
            poll->setInterval(0);
            int turns = 0;
            QObject::connect(poll, &QTimer::timeout, &main, [&, poll, turns]() mutable {
                if (main.isVisible() || ++turns > 1000) {
                    shown = main.isVisible();
                    poll->stop();
                    if (shown && whenShown)
                        whenShown(main);
                    QCoreApplication::exit(0);
                }
            });
            poll->start();
        });
        return Run({}) == eMoxExitOk && shown;
    }
};

TEST_P(StartupLanguage, AStoredLanguageWithoutFileStartsInGerman) {
    RegisterQuell32();
    if (IsSkipped())
        return;
    SetPermSprache(GetParam());
    QString title;
    EXPECT_TRUE(RunUntilShown([&title](TMoxMain& main) { title = main.windowTitle(); }));
    EXPECT_TRUE(errors.empty()) << errors.front();
    TkResourcen::SetProgramDirForTesting("");
    SetPermSprache(1);
    TkResourcen german;
    EXPECT_EQ(title, german.GetQText(1002));
    EXPECT_FALSE(title.isEmpty());
}

TEST_P(StartupLanguage, AnOpenedFileKeepsItsLanguageOutOfTheSettings) {
    RegisterQuell32();
    if (IsSkipped())
        return;
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    data->Sprache = static_cast<std::uint8_t>(GetParam());
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
    const std::string file = (m_Dir / "from-the-box.ktx").string();
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
    SetPermSprache(2); // English
    TFileDialog::SetHandlerForTesting(
        [&file](const TFileDialog::Request&) { return QString::fromStdString(file); });
    int opened = -1;
    QString title;
    EXPECT_TRUE(RunUntilShown([&](TMoxMain& main) {
        main.OnOpenDocument();
        opened = main.GetDoc()->GetSprache();
        title = main.windowTitle();
    }));
    TFileDialog::SetHandlerForTesting({});
    EXPECT_EQ(opened, GetParam()) << "the document keeps its byte";
    EXPECT_FALSE(title.isEmpty());
    EXPECT_EQ(StoredSprache(), std::optional<std::uint32_t>(2));
    EXPECT_TRUE(errors.empty()) << errors.front();

    // The next start.
    EXPECT_TRUE(RunUntilShown());
    EXPECT_TRUE(errors.empty()) << errors.front();
}

INSTANTIATE_TEST_SUITE_P(Bytes, StartupLanguage, testing::Values(0, 7, 255));

TEST_F(Startup, MissingLanguageFileNamesItsFullPath) {
    TkResourcen::SetProgramDirForTesting(m_Dir.string());
    EXPECT_EQ(Run({"-e"}), eMoxExitNoLanguageFile);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "language file <" + (m_Dir / "res/ktx_d.spt").string() + "> not found!");
    EXPECT_TRUE(boxes.empty());
}

// A language file that is there but cannot serve ends the start as a
// missing one does, with the language file's box and no window.
struct UnusableFileRow {
    const char* name;
    std::string bytes;
};

void PrintTo(const UnusableFileRow& r, std::ostream* os) {
    *os << r.name;
}

class StartupUnusableLanguage : public Startup,
                                public testing::WithParamInterface<UnusableFileRow> {};

TEST_P(StartupUnusableLanguage, EndsWithTheLanguageFileBox) {
    std::filesystem::create_directories(m_Dir / "res");
    const std::string path = (m_Dir / "res/ktx_d.spt").string();
    std::ofstream(path, std::ios::binary) << GetParam().bytes;
    TkResourcen::SetProgramDirForTesting(m_Dir.string());
    bool mainCreated = false;
    MoxSetMainWindowHookForTesting([&](TMoxMain&) { mainCreated = true; });
    EXPECT_EQ(Run({}), eMoxExitNoLanguageFile);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Failed to open language file " + path + "\n", 0), 0u) << errors[0];
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(mainCreated);
    EXPECT_EQ(TMoxMain::Instance(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Files, StartupUnusableLanguage,
                         testing::Values(UnusableFileRow{"Empty", std::string()},
                                         UnusableFileRow{"AllNul", std::string(20000, '\0')},
                                         // One text, not the title, the menus or the messages.
                                         UnusableFileRow{"OneText", std::string("\0\0eins\0\0", 8)},
                                         UnusableFileRow{"Cut", std::string("\0\0ein", 5)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, UsageTextEndsTheProgram) {
    bool mainCreated = false;
    MoxSetMainWindowHookForTesting([&](TMoxMain&) { mainCreated = true; });
    EXPECT_EQ(Run({"-?"}), eMoxExitOk);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].textId, 2);
    EXPECT_TRUE(boxes[0].caption.isEmpty());
    EXPECT_EQ(boxes[0].flags, mb::kOk);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("-e")));
    EXPECT_FALSE(mainCreated);
}

TEST_F(Startup, UnregisteredBusControlEndsWithItsError) {
    bool mainCreated = false;
    MoxSetMainWindowHookForTesting([&](TMoxMain&) { mainCreated = true; });
    EXPECT_EQ(Run({}), eMoxExitStartFailed);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("ktx"));
    EXPECT_EQ(boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_FALSE(boxes[0].text.isEmpty());
    EXPECT_FALSE(mainCreated);
    EXPECT_EQ(TMoxMain::Instance(), nullptr);
}

TEST_F(Startup, ExpertModeWithTheServiceFlag) {
    RegisterQuell32();
    if (IsSkipped())
        return;
    Seen seen;
    QuitWhenMainShows(seen);
    EXPECT_EQ(Run({"-e", "-z"}), eMoxExitOk);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.mode, 2);
    EXPECT_TRUE(seen.expert);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Startup, ServiceFlagAloneIsIgnored) {
    RegisterQuell32();
    if (IsSkipped())
        return;
    Seen seen;
    QuitWhenMainShows(seen);
    EXPECT_EQ(Run({"-z"}), eMoxExitOk);
    EXPECT_EQ(seen.mode, 1);
    EXPECT_FALSE(seen.expert);
}

TEST_F(Startup, WizardShowsFirstAndHandsOverToTheMainWindow) {
    RegisterQuell32();
    if (IsSkipped())
        return;
    SetAssiMode(true);
    Seen seen;
    bool wizardFirst = false;
    MoxSetMainWindowHookForTesting([&seen, &wizardFirst](TMoxMain& main) {
        auto* poll = new QTimer(&main);
        poll->setInterval(0);
        int turns = 0;
        QObject::connect(poll, &QTimer::timeout, &main, [&, poll, turns]() mutable {
            TAssiMain* assi = TAssiMain::Instance();
            if (assi && assi->isVisible() && !main.isVisible()) {
                // The user finishes the wizard at once.
                wizardFirst = true;
                assi->OnFertig();
            }
            if (main.isVisible() || ++turns > 1000) {
                seen.shown = main.isVisible();
                poll->stop();
                QCoreApplication::exit(0);
            }
        });
        poll->start();
    });
    EXPECT_EQ(Run({}), eMoxExitOk);
    EXPECT_TRUE(wizardFirst);
    EXPECT_TRUE(seen.shown);
    // Beside the settings in use, not beside a file the environment names
    // (or the user's own folder when it names none).
    EXPECT_TRUE(std::filesystem::exists(m_Dir / "assistent.ktx"));
}

// The program itself, started from another folder on a fresh settings file:
// its files are found beside it and it comes up.
TEST_F(Startup, ProgramStartsFromAnyFolder) {
#ifdef MOX_EXE
    const std::string settings = (m_Dir / "process.ini").string();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("MOX_SETTINGS=", 0) != 0)
            env.emplace_back(*e);
    env.push_back("MOX_SETTINGS=" + settings);
    env.push_back("MOX_QUIT_WHEN_SHOWN=1");
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const auto run = [&](std::vector<std::string> args) {
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, m_Dir.c_str());
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return -1;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    };
    // Registered as a user would, then started; the settings' wizard
    // default shows the wizard's place first.
    ASSERT_EQ(run({MOX_REGSVR, "-s", MOX_QUELL32}), 0);
    EXPECT_EQ(run({MOX_EXE}), 0);
    EXPECT_EQ(run({MOX_EXE, "-e", "-z"}), 0);
#else
    GTEST_SKIP() << "the program is not built";
#endif
}

} // namespace
