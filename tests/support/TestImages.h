#pragma once
// Tagged images for the page tests to load or to serve on a read: a fresh
// configuration, changed by the test before it is built.

#include <cstdint>
#include <functional>
#include <vector>

struct MoxDaten;

std::vector<std::uint8_t> TaggedImage(const std::function<void(MoxDaten*)>& edit = {});
