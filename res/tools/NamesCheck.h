#pragma once
// One name for each thing in each language: the parts of the configuration,
// the product and the box are called the same in their tree node, page,
// wizard step, report and help page.
//
// Two kinds of table hold it, both UTF-8 text, one row a line, fields split
// by tabs, blank rows and rows starting with "#" skipped:
//   - the places (one file for all languages): key<TAB>places, the places
//     split by blanks: a text id ("229") or a help page ("help:1800", its
//     title in both program modes);
//   - the names (names.tsv in each language's folder): key<TAB>name
//     [<TAB>avoid]. A name may list its forms split by "|" (singular and
//     plural); "avoid" lists, split by "|" as well, other words for the
//     same thing that no text and no help page of the language may use.
// Each language names every key of the places and no other. Every place
// holds one of the forms of its key's name; letters compare without regard
// to case.

#include <map>
#include <string>
#include <vector>

struct NamesText {
    std::string text; // Windows-1252, as the language source writes it
    std::string hint;
};

struct NamesLanguage {
    std::string source;     // the language's folder, holding names.tsv
    std::string helpSuffix; // "d": help pages in <help>/ektx_d and <help>/kktx_d
    std::map<int, NamesText> texts;
};

// Reports every fault on stderr (file and row or place named); true when
// there is none.
bool CheckNames(const std::string& placesFile, const std::string& helpDir,
                const std::vector<NamesLanguage>& langs);
