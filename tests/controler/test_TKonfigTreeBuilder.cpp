// The configuration tree's node list for every device-type, mode and expert
// combination: kinds, parents, captions and order.

#include "TKonfigTreeBuilder.h"
#include "TNodeData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

// Found by the comparison of the lists, in the node type's namespace.
bool operator==(const TKonfigNode& a, const TKonfigNode& b) {
    return a.kind == b.kind && a.parent == b.parent && a.captionId == b.captionId &&
           a.folder == b.folder;
}

std::ostream& operator<<(std::ostream& os, const TKonfigNode& n) {
    return os << "{" << int(n.kind) << " under " << int(n.parent) << " text " << n.captionId
              << (n.folder ? " folder}" : "}");
}

namespace {

using Nodes = std::vector<TKonfigNode>;

// The first rows of the node table, which every tree has.
Nodes Head() {
    return {{1, 0, 203, true},
            {2, 1, 224, false},
            {3, 1, 204, true},
            {4, 3, 205, true},
            {5, 4, 222, false}};
}

struct TreeRow {
    const char* name;
    TKonfigTreeInput in;
    Nodes expected;
};

void PrintTo(const TreeRow& row, std::ostream* os) {
    *os << row.name;
}

class KonfigTreeRows : public testing::TestWithParam<TreeRow> {};

TEST_P(KonfigTreeRows, NodesInOrder) {
    EXPECT_EQ(TKonfigTreeBuilder::Build(GetParam().in), GetParam().expected);
}

Nodes Cat(std::initializer_list<Nodes> parts) {
    Nodes all;
    for (const Nodes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Nodes kSystemAndTransfer = {{27, 1, 210, true},  {28, 27, 222, false}, {29, 1, 218, true},
                                  {30, 29, 211, true}, {31, 30, 219, false}, {32, 30, 220, false}};
const Nodes kFirmwareAndLog = {{33, 29, 221, true}, {34, 33, 220, false}, {35, 29, 32, true}};

INSTANTIATE_TEST_SUITE_P(
    Combinations, KonfigTreeRows,
    testing::Values(
        // No door interface: no folder 13, but the subscribers stay.
        TreeRow{"IT0_Standard",
                {0, 0, 0, 0, 1, false},
                Cat({Head(),
                     {{23, 4, 209, true}, {24, 23, 254, false}, {25, 23, 229, false}},
                     kSystemAndTransfer})},
        TreeRow{"IT1_Standard",
                {1, 0, 0, 0, 1, false},
                Cat({Head(),
                     {{23, 4, 441, true},
                      {24, 23, 254, false},
                      {25, 23, 229, false},
                      {13, 4, 207, true},
                      {16, 13, 226, false},
                      {15, 13, 225, false},
                      {17, 13, 282, true},
                      {14, 17, 234, false}},
                     kSystemAndTransfer})},
        TreeRow{"IT2_AllDevices_Expert",
                {2, 1, 1, 1, 2, true},
                Cat({Head(),
                     {{6, 4, 236, false},
                      {23, 4, 209, true},
                      {24, 23, 254, false},
                      {25, 23, 229, false},
                      {26, 23, 235, false},
                      {13, 4, 207, true},
                      {16, 13, 226, false},
                      {15, 13, 225, false},
                      {7, 13, 230, false},
                      {17, 13, 282, true},
                      {14, 17, 234, false},
                      {18, 17, 201, false},
                      {8, 3, 233, true},
                      {9, 8, 222, false},
                      {10, 3, 206, true},
                      {11, 10, 227, false},
                      {12, 10, 228, false},
                      {21, 3, 232, true},
                      {22, 21, 202, false}},
                     kSystemAndTransfer,
                     kFirmwareAndLog,
                     {{37, 35, 379, false}}})},
        TreeRow{"IT3_Expert_NoFlag",
                {3, 0, 0, 0, 2, false},
                Cat({Head(),
                     {{6, 4, 236, false},
                      {23, 4, 209, true},
                      {24, 23, 254, false},
                      {25, 23, 229, false},
                      {13, 4, 207, true},
                      {16, 13, 226, false},
                      {15, 13, 225, false},
                      {7, 13, 230, false},
                      {17, 13, 282, true},
                      {14, 17, 234, false}},
                     kSystemAndTransfer,
                     kFirmwareAndLog,
                     {{36, 35, 219, false}}})},
        // The expert flag means nothing in standard mode.
        TreeRow{"IT0_Standard_FlagIgnored",
                {0, 1, 0, 0, 1, true},
                Cat({Head(),
                     {{23, 4, 209, true},
                      {24, 23, 254, false},
                      {25, 23, 229, false},
                      {8, 3, 233, true},
                      {9, 8, 222, false}},
                     kSystemAndTransfer})}),
    [](const auto& info) { return std::string(info.param.name); });

// Every one of the 128 combinations against the table's rule for each node.
struct Rule {
    std::uint8_t kind;
    bool (*exists)(const TKonfigTreeInput&);
};

const Rule kRules[] = {
    {1, [](const TKonfigTreeInput&) { return true; }},
    {2, [](const TKonfigTreeInput&) { return true; }},
    {3, [](const TKonfigTreeInput&) { return true; }},
    {4, [](const TKonfigTreeInput&) { return true; }},
    {5, [](const TKonfigTreeInput&) { return true; }},
    {6, [](const TKonfigTreeInput& i) { return i.typeIT == 2 || i.typeIT == 3; }},
    {23, [](const TKonfigTreeInput&) { return true; }},
    {24, [](const TKonfigTreeInput&) { return true; }},
    {25, [](const TKonfigTreeInput&) { return true; }},
    {26, [](const TKonfigTreeInput& i) { return i.typeIT == 2; }},
    {13, [](const TKonfigTreeInput& i) { return i.typeIT != 0; }},
    {16, [](const TKonfigTreeInput& i) { return i.typeIT != 0; }},
    {15, [](const TKonfigTreeInput& i) { return i.typeIT != 0; }},
    {7, [](const TKonfigTreeInput& i) { return i.typeIT != 0 && i.mode == 2; }},
    {17, [](const TKonfigTreeInput& i) { return i.typeIT != 0; }},
    {14, [](const TKonfigTreeInput& i) { return i.typeIT != 0; }},
    {18, [](const TKonfigTreeInput& i) { return i.typeIT == 2; }},
    {8, [](const TKonfigTreeInput& i) { return i.typeKMR != 0; }},
    {9, [](const TKonfigTreeInput& i) { return i.typeKMR != 0; }},
    {10, [](const TKonfigTreeInput& i) { return i.typeRAK != 0; }},
    {11, [](const TKonfigTreeInput& i) { return i.typeRAK != 0; }},
    {12, [](const TKonfigTreeInput& i) { return i.typeRAK != 0; }},
    {21, [](const TKonfigTreeInput& i) { return i.typeBSM != 0; }},
    {22, [](const TKonfigTreeInput& i) { return i.typeBSM != 0; }},
    {27, [](const TKonfigTreeInput&) { return true; }},
    {28, [](const TKonfigTreeInput&) { return true; }},
    {29, [](const TKonfigTreeInput&) { return true; }},
    {30, [](const TKonfigTreeInput&) { return true; }},
    {31, [](const TKonfigTreeInput&) { return true; }},
    {32, [](const TKonfigTreeInput&) { return true; }},
    {33, [](const TKonfigTreeInput& i) { return i.mode == 2; }},
    {34, [](const TKonfigTreeInput& i) { return i.mode == 2; }},
    {35, [](const TKonfigTreeInput& i) { return i.mode == 2; }},
    {36, [](const TKonfigTreeInput& i) { return i.mode == 2 && !i.expert; }},
    {37, [](const TKonfigTreeInput& i) { return i.mode == 2 && i.expert; }},
};

TEST(KonfigTreeSweep, EveryCombinationFollowsTheTable) {
    int combinations = 0;
    for (std::uint8_t it = 0; it <= 3; ++it)
        for (std::uint8_t kmr = 0; kmr <= 1; ++kmr)
            for (std::uint8_t rak = 0; rak <= 1; ++rak)
                for (std::uint8_t bsm = 0; bsm <= 1; ++bsm)
                    for (int mode = 1; mode <= 2; ++mode)
                        for (bool expert : {false, true}) {
                            const TKonfigTreeInput in{it, kmr, rak, bsm, mode, expert};
                            const Nodes nodes = TKonfigTreeBuilder::Build(in);
                            SCOPED_TRACE(testing::Message()
                                         << "IT " << int(it) << " KMR " << int(kmr) << " RAK "
                                         << int(rak) << " BSM " << int(bsm) << " mode " << mode
                                         << " expert " << expert);
                            // Exactly the nodes whose rule holds, in the
                            // table's order.
                            std::vector<std::uint8_t> want, got;
                            for (const Rule& r : kRules)
                                if (r.exists(in))
                                    want.push_back(r.kind);
                            for (const TKonfigNode& n : nodes)
                                got.push_back(n.kind);
                            EXPECT_EQ(got, want);
                            // A parent always stands before its children.
                            std::set<std::uint8_t> seen;
                            for (const TKonfigNode& n : nodes) {
                                EXPECT_TRUE(n.parent == 0 || seen.count(n.parent))
                                    << int(n.kind) << " before its parent " << int(n.parent);
                                seen.insert(n.kind);
                            }
                            ++combinations;
                        }
    EXPECT_EQ(combinations, 128);
}

TEST(KonfigTreeNames, KindsNameTheirPages) {
    EXPECT_EQ(TKonfigTreeBuilder::ViewName(eTlnKonfig), "TFormTln");
    EXPECT_EQ(TKonfigTreeBuilder::KindName(eTlnKonfig), "eTlnKonfig");
    EXPECT_EQ(TKonfigTreeBuilder::ViewName(eEIBKonfig), "TFormEIB");
    // Folders, unknown kinds and the embedded kinds open the base page.
    EXPECT_EQ(TKonfigTreeBuilder::ViewName(eNodeIT), "TDataView");
    EXPECT_EQ(TKonfigTreeBuilder::ViewName(19), "TDataView");
    EXPECT_EQ(TKonfigTreeBuilder::ViewName(eAssistent), "TDataView");
}

} // namespace
