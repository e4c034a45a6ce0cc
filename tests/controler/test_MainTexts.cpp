// Every text id of the start-up, the main window, the tree and the about
// box has its text in all six language files; the file filter has the form
// the dialogs read.

#include "MainTextIds.h"
#include "MoxQString.h"
#include "SptReader.h"
#include "TFileDialog.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFiles = {"ktx_d.spt", "ktx_uk.spt", "ktx_f.spt",
                                               "ktx_i.spt", "ktx_dk.spt", "ktx_nl.spt"};

template <std::size_t N> void ExpectAll(const std::array<int, N>& ids) {
    for (const char* file : kFiles) {
        SptTable table;
        std::string error;
        ASSERT_TRUE(SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + file, table, error))
            << file << ": " << error;
        for (int id : ids)
            EXPECT_NE(table.Text(id), nullptr) << "id " << id << " in " << file;
    }
}

TEST(MainTexts, FormTextsInAllSix) {
    ExpectAll(mtxt::kMainFormIds);
}

TEST(MainTexts, TreeCaptionsInAllSix) {
    ExpectAll(mtxt::kTreeIds);
}

TEST(MainTexts, MessagesInAllSix) {
    ExpectAll(mtxt::kMessageIds);
}

// Without these the program refuses a language file: each of the six has
// them.
TEST(MainTexts, RequiredTextsInAllSix) {
    ExpectAll(TkResourcen::kRequiredTextIds);
}

TEST(MainTexts, FileFilterGivesQtFilters) {
    for (const char* file : kFiles) {
        SptTable table;
        std::string error;
        ASSERT_TRUE(SptReader::ReadFile(std::string(MOX_BIN_DIR) + "/res/" + file, table, error));
        const QString filter = TFileDialog::ToQtFilter(MoxToQString(table.Text(mtxt::kFileFilter)));
        EXPECT_TRUE(filter.contains(QStringLiteral("(*.ktx);;"))) << filter.toStdString();
    }
}

TEST(MainTexts, PipeFilterRows) {
    EXPECT_EQ(TFileDialog::ToQtFilter(QStringLiteral("Konfig (*.ktx)|*.ktx|Alle (*)|*")),
              QStringLiteral("Konfig (*.ktx);;Alle (*)"));
    EXPECT_EQ(TFileDialog::ToQtFilter(QStringLiteral("Logs|*.log;*.txt")),
              QStringLiteral("Logs (*.log *.txt)"));
    EXPECT_EQ(TFileDialog::ToQtFilter(QString()), QStringLiteral("*"));
}

} // namespace
