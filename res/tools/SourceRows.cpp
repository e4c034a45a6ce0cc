#include "SourceRows.h"

#include <cstdio>
#include <fstream>
#include <sstream>

bool ReadSourceRows(const std::string& path, std::vector<SourceRow>& rows) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mox_makespt: %s: cannot be opened\n", path.c_str());
        return false;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        SourceRow row{path + ":" + std::to_string(n), {}};
        std::stringstream ss(line);
        for (std::string f; std::getline(ss, f, '\t');)
            row.fields.push_back(f);
        if (line.back() == '\t')
            row.fields.emplace_back();
        rows.push_back(std::move(row));
    }
    return true;
}
