#pragma once
// The auto-configuration page's state: which client programs are pointed at
// the relay, the start-up choices, and which program boxes can be changed
// (the installed programs, the system browser and CuteFTP).

#include <map>
#include <vector>

#include "settings/CSettings.h"

namespace wizard {

class CWizAutoConfigModel {
public:
    // The alerts and clean-at-start boxes checked; only the system browser
    // and CuteFTP boxes enabled.
    CWizAutoConfigModel();

    // Reads the stored settings into s (writing them first when none are
    // stored yet) and checks each program box and the launch box from s.
    void Load(CSettings& s);
    // Enables the box of every program found installed.
    void ProbeInstalled();
    // Each program flag and the launch flag as its box; clean-at-start 1
    // when checked, else 0. Writes nothing to the registry.
    void Store(CSettings& s) const;

    bool IsChecked(int box) const;
    void SetChecked(int box, bool checked);
    bool IsEnabled(int box) const;

    // The boxes Load sets, in the page's order.
    static std::vector<int> LoadedBoxes();

private:
    std::map<int, bool> checked_;
    std::map<int, bool> enabled_;
};

}  // namespace wizard
