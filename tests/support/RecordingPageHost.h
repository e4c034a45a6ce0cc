#pragma once
// A page host whose save question always lets the page go and which records
// the tree rebuilds and control updates the pages ask for.

#include "DocPageHost.h"

#include <string>
#include <vector>

class RecordingPageHost : public DocPageHost {
public:
    bool ViewQuerySave() override { return true; }
    void ViewRebuildTree() override { log.push_back("rebuild"); }
    void ViewUpdateControls() override { log.push_back("update"); }

    std::vector<std::string> log;
};
