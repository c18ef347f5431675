#pragma once
// The filtration section: incoming, outgoing and script-level switches,
// stored below root\Filteration (spelled so).

#include <type_traits>

#include "platform/Registry.h"
#include "settings/CAdvancedFiltration.h"
#include "settings/CInFiltration.h"
#include "settings/COutFiltration.h"

class CFiltrationSettings {
public:
    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();

    bool SetRegistry(const platform::RegKey& root) const;
    bool QueryRegistry(const platform::RegKey& root);

    // Fills the allowed, blocked and stop lists from their default files
    // when they are empty (first run).
    void LoadDefaultLists();

    CInFiltration mInFiltration;
    COutFiltration mOutFiltration;
    CAdvancedFiltration mAdvancedFiltration;
};

static_assert(std::is_standard_layout_v<CFiltrationSettings>);
