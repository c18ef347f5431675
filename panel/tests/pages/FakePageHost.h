#pragma once
// Test doubles for the pages' models: a page host with its own working
// settings, a worker thread, pool operations, list rows and a frame, each
// recording what the model asked of it.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "panel/pages/IPageHost.h"
#include "panel/pages/IProxyPoolOps.h"
#include "panel/pages/IProxyRows.h"
#include "panel/pages/ISubPageFrame.h"
#include "panel/pages/IWorkerControl.h"
#include "platform/Messages.h"
#include "relay/pool/CProxy.h"
#include "settings/CSettings.h"

namespace pagetest {

class FakePageHost : public IPageHost {
public:
    CSettings settings;
    std::vector<std::pair<bool, int>> modified;
    bool running = false;
    int starts = 0, stops = 0, applies = 0, helps = 0;

    CSettings& WorkingSettings() override { return settings; }
    void SetModified(bool m, int kind) override { modified.emplace_back(m, kind); }
    void StartServer() override { ++starts; }
    void StopServer() override { ++stops; }
    bool IsServerRunning() override { return running; }
    void ApplySettings() override { ++applies; }
    void ShowHelp() override { ++helps; }
};

class FakeWorker : public IWorkerControl {
public:
    bool running = false;
    bool startRuns = true;  // whether Start leaves it running
    int starts = 0, stops = 0, resets = 0;

    bool IsRunning() override { return running; }
    bool Start() override {
        ++starts;
        running = startRuns;
        return true;
    }
    bool Stop() override {
        ++stops;
        running = false;
        return true;
    }
    void Reset() override { ++resets; }
};

class FakePool : public IProxyPoolOps {
public:
    bool refusePosts = false;
    int deleteAlls = 0;
    std::vector<std::pair<std::string, int>> removedNow, posted, returned;

    bool DeleteAllProxies() override {
        ++deleteAlls;
        return true;
    }
    bool RemoveProxyNow(const CProxy& proxy) override {
        removedNow.emplace_back(proxy.getIP(), proxy.getPort());
        return true;
    }
    std::unique_ptr<CProxy> PostRemoveProxy(std::unique_ptr<CProxy> proxy) override {
        auto& into = refusePosts ? returned : posted;
        into.emplace_back(proxy->getIP(), proxy->getPort());
        if (refusePosts) return proxy;
        return nullptr;
    }
};

// Rows of address and port, some selected.
class FakeRows : public IProxyRows {
public:
    struct Row {
        std::string address, port;
        bool selected = false;
    };
    std::vector<Row> rows;
    std::vector<bool> renumberCalls;
    int deleteAlls = 0;

    int GetItemCount() const override { return static_cast<int>(rows.size()); }
    int GetSelectedCount() const override {
        int n = 0;
        for (const Row& r : rows) n += r.selected;
        return n;
    }
    int GetFirstSelected() const override {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].selected) return static_cast<int>(i);
        }
        return -1;
    }
    std::string GetItemText(int row, int column) const override {
        return column == 0 ? rows.at(row).address : rows.at(row).port;
    }
    void DeleteItem(int row) override { rows.erase(rows.begin() + row); }
    void DeleteAllItems() override {
        ++deleteAlls;
        rows.clear();
    }
    void SetRenumber(bool renumber) override { renumberCalls.push_back(renumber); }
};

class FakeFrame : public ISubPageFrame {
public:
    bool createSucceeds = true;
    std::vector<std::string> calls;

    void CloseSubPage() override { calls.push_back("close"); }
    void ShowHeader(unsigned image) override { calls.push_back("header " + std::to_string(image)); }
    bool CreateSubPage(int code) override {
        calls.push_back("create " + std::to_string(code));
        return createSucceeds;
    }
    void PlaceSubPage() override { calls.push_back("place"); }
    void Repaint() override { calls.push_back("refresh"); }
};

// A message-only window on the test's thread that takes every post.
class PageWindow {
public:
    PageWindow();
    ~PageWindow();
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

    platform::HWND hwnd() const { return hwnd_; }
    // The messages posted to it so far, taken out.
    std::vector<std::pair<platform::UINT, platform::WPARAM>> Take();

private:
    platform::HWND hwnd_;
    std::vector<std::pair<platform::UINT, platform::WPARAM>> seen_;
};

}  // namespace pagetest
