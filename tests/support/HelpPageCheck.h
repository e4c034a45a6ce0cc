#pragma once
// Every help context a form carries must have its page in each of the
// twelve help folders (six languages, standard and expert mode): F1 on a
// control without one opens an empty help window.

#include <gtest/gtest.h>

#include <array>
#include <set>

class QWidget;

inline constexpr std::array<const char*, 12> kHelpFolders = {
    "kktx_d", "kktx_uk", "kktx_f", "kktx_i", "kktx_dk", "kktx_nl",
    "ektx_d", "ektx_uk", "ektx_f", "ektx_i", "ektx_dk", "ektx_nl"};

// The help contexts of the widget and every widget inside it.
std::set<int> HelpContextsOf(QWidget* root);

// Passes when every context has its page in every help folder; the failure
// names each missing page as "folder/context.html".
testing::AssertionResult HasHelpPages(const std::set<int>& contexts);
