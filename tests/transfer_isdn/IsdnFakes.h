#pragma once
// Collaborators of the controller's ISDN tests: the settings with the ISDN
// numbers, and an owner that records the ISDN events besides serving the
// packages of a send (PackageOwner).

#include "CapiPortMessage.h"
#include "EngineFakes.h"

#include <string>
#include <vector>

class IsdnSettings : public FakeSettings {
public:
    IsdnSettings() { comPort = 9; }
    std::string GetOwnNumber() const override { return own; }
    std::string GetBoxNumber() const override { return box; }
    std::string own = "4711";
    std::string box = "0891234567";
};

class IsdnOwner : public PackageOwner {
public:
    using PackageOwner::PackageOwner;

    struct Connect {
        int instance;
        CapiCallInfo info;
    };
    struct Disconnect {
        int instance;
        CapiDisconnectInfo info;
    };

    void OnCapiConnect(int instance, const CapiCallInfo& info) override {
        connects.push_back({instance, info});
    }
    void OnCapiConnectActive(int instance) override { active.push_back(instance); }
    void OnCapiDisconnect(int instance, const CapiDisconnectInfo& info) override {
        disconnects.push_back({instance, info});
    }

    std::vector<Connect> connects;
    std::vector<int> active;
    std::vector<Disconnect> disconnects;
};
