// A document's configuration written to the simulated box over the real
// bus path and read back, for the door-interface types with and without the
// camera device.

#include "E2eFixture.h"
#include "PerProcessSettingsFile.h"

#include "MoxDaten.h"

#include <ostream>

namespace {

struct TypeRow {
    const char* name;
    std::uint8_t typeIT;
    std::uint8_t typeKMR;
};

void PrintTo(const TypeRow& row, std::ostream* os) {
    *os << row.name;
}

class ConfigRoundTrip : public BusE2eTest, public ::testing::WithParamInterface<TypeRow> {};

TEST_P(ConfigRoundTrip, WrittenToTheBoxAndReadBackByteIdentical) {
    auto written = MakeDoc();
    written->SetTypeIT(GetParam().typeIT);
    written->SetTypeKMR(GetParam().typeKMR);
    ASSERT_GT(written->GetAnzTln(), 0);
    written->SetTlnRnr(static_cast<std::uint8_t>(written->GetAnzTln() - 1), "0815");
    written->SetTuermatik(9);

    ASSERT_TRUE(written->StartWriteAnlDataToComPort(true));
    EXPECT_EQ(Transfer().results, std::vector<int>{1});
    const Bytes stored = BoxConfiguration();
    ASSERT_FALSE(stored.empty());
    // The box holds one package per block the document handed over.
    const std::string status = Sim("status", "STATUS");
    EXPECT_NE(status.find(" packages " + std::to_string(Transfer().needCalls) + " "),
              std::string::npos)
        << status;

    auto read = MakeDoc();
    ASSERT_TRUE(read->ReadAnlDataFromComPort());
    EXPECT_EQ(Transfer().lastReceived, stored) << "the read delivers what the box holds";
    EXPECT_TRUE(read->IsModified());
    EXPECT_EQ(read->GetTypeIT(), GetParam().typeIT);
    EXPECT_EQ(read->GetTypeKMR(), GetParam().typeKMR);
    EXPECT_EQ(read->GetTuermatik(), 9);
    char rnr[32] = {};
    ASSERT_TRUE(read->GetTlnRnr(static_cast<std::uint8_t>(read->GetAnzTln() - 1), rnr, sizeof rnr));
    EXPECT_STREQ(rnr, "0815");

    // Written once more from what was read, the box gets the same bytes:
    // nothing of the configuration was lost or changed on the way round.
    ASSERT_EQ(Sim("clear"), "OK");
    ASSERT_TRUE(read->StartWriteAnlDataToComPort(true));
    EXPECT_EQ(BoxConfiguration(), stored);
}

INSTANTIATE_TEST_SUITE_P(Types, ConfigRoundTrip,
                         ::testing::Values(TypeRow{"Nivo", eIT_Nivo, 0},
                                           TypeRow{"NivoCamera", eIT_Nivo, 1},
                                           TypeRow{"Pello", eIT_Pello, 0},
                                           TypeRow{"PelloCamera", eIT_Pello, 1},
                                           TypeRow{"Quarz", eIT_Quarz, 0},
                                           TypeRow{"QuarzCamera", eIT_Quarz, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The name texts filled so their package takes a whole block (1024 data
// bytes, a block message of 1030): each of the 32 texts is 2 tag bytes, a
// length byte and the text, 1056 bytes with 30 characters each, so 32
// characters fewer fill the block exactly.
TEST_F(BusE2eTest, PackageFillingAWholeBlockGoesBothWays) {
    auto written = MakeDoc();
    const std::string full(30, 'X');
    for (std::uint8_t i = 0; i < 12; ++i) {
        written->SetMeldeeingangsText(i, full.c_str());
        written->SetSchaltausgangsText(i, full.c_str());
    }
    for (std::uint8_t i = 0; i < 7; ++i)
        written->SetTuerrufText(i, full.c_str());
    written->SetEtagenrufText("");
    written->SetTuerrufText(6, std::string(28, 'Z').c_str());
    const size_t mark = Mark();
    ASSERT_TRUE(written->StartWriteAnlDataToComPort(true));
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(CountLinesSynced(" len 1024", mark), 1u) << "one package of a whole block";

    auto read = MakeDoc();
    ASSERT_TRUE(read->ReadAnlDataFromComPort());
    EXPECT_EQ(Transfer().lastReceived, BoxConfiguration());
    char text[40] = {};
    ASSERT_TRUE(read->GetTuerrufText(6, text, sizeof text));
    EXPECT_EQ(std::string(text), std::string(28, 'Z'));
}

} // namespace
