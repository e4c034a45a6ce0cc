#pragma once
// The rows of a readable source table (language texts, names, places):
// UTF-8 text, one row a line, fields split by tabs; blank rows and rows
// starting with "#" are skipped, a line's carriage return is dropped, and a
// row ending in a tab has an empty last field.

#include <string>
#include <vector>

struct SourceRow {
    std::string where; // "path:line", for messages
    std::vector<std::string> fields;
};

// False (and a message on stderr) when the file cannot be opened.
bool ReadSourceRows(const std::string& path, std::vector<SourceRow>& rows);
