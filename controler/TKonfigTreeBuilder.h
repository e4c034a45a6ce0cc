#pragma once
// The nodes of the configuration tree for one set of device types, program
// mode and expert flag: kind, parent, caption text and whether the node is a
// folder, in the order the tree shows them. Plain C++, so the whole table
// tests without a display; the main window's tree is filled from this list.

#include <cstdint>
#include <string_view>
#include <vector>

struct TKonfigTreeInput {
    std::uint8_t typeIT = 0;  // door interface 0 none, 1..3
    std::uint8_t typeKMR = 0; // camera device
    std::uint8_t typeRAK = 0; // universal controller
    std::uint8_t typeBSM = 0; // bus switching module
    int mode = 1;             // 1 standard, 2 expert
    bool expert = false;      // the hidden service items (mode 2 only)
};

struct TKonfigNode {
    std::uint8_t kind;
    std::uint8_t parent; // 0: the tree's root level
    int captionId;       // language text of the caption
    bool folder;         // shown with the folder images
};

class TKonfigTreeBuilder {
public:
    static std::vector<TKonfigNode> Build(const TKonfigTreeInput& in);

    // Name of a node kind for the trace ("eTlnKonfig"); folders and unknown
    // kinds give "TDataView".
    static std::string_view KindName(std::uint8_t kind);
    // The page class a kind opens ("TFormTln"); "TDataView" for folders,
    // kinds outside the table and 38 and above.
    static std::string_view ViewName(std::uint8_t kind);
};
