#pragma once
// A page that counts its lives and the main window's calls, registered as
// the maker of one or more templates while a test runs.

#include <vector>

#include "panel/main/CBaseDlg.h"
#include "panel/main/CPageMakers.h"
#include "panel/main/IGeneralPage.h"

namespace coretest {

struct PageCounts {
    int made = 0;
    int destroyed = 0;
    int started = 0;
    int stopped = 0;
    int custom = 0;
};

class FakePage : public CBaseDlg, public IGeneralPage {
public:
    FakePage(CServerHost& host, PageCounts& counts) : CBaseDlg(&host), counts_(counts) { ++counts_.made; }
    ~FakePage() override { ++counts_.destroyed; }

    void OnServerStopped() override { ++counts_.stopped; }
    void OnServerStarted() override { ++counts_.started; }
    void SelectCustomLevel() override { ++counts_.custom; }

private:
    PageCounts& counts_;
};

// Registers FakePage for the templates while it lives.
class FakePages {
public:
    FakePages(std::vector<int> templates, PageCounts& counts) : templates_(std::move(templates)) {
        for (const int id : templates_) {
            CPageMakers::Set(id, [&counts](CServerHost& host) { return std::make_unique<FakePage>(host, counts); });
        }
    }
    ~FakePages() {
        for (const int id : templates_) CPageMakers::Set(id, nullptr);
    }

private:
    std::vector<int> templates_;
};

}  // namespace coretest
