#pragma once
// Recording stand-ins for the panel's tree, list and edit controls, and a
// fixture with a recording view window.

#include <chrono>
#include <string>
#include <vector>

#include "engine/RecordingView.h"
#include "relay/logs/IRowSink.h"
#include "relay/logs/ITextSink.h"
#include "relay/logs/ITreeSink.h"
#include "support/TempRoot.h"

namespace logtest {

struct TreeItem {
    ITreeSink::Handle parent = 0;
    std::string text;
};

class RecordingTree : public ITreeSink {
public:
    Handle InsertItem(Handle parent, const char* text) override {
        items.push_back({parent, text});
        return items.size();
    }
    void DeleteAllItems() override { items.clear(); }

    // The texts of the children of handle, in order.
    std::vector<std::string> Children(Handle handle) const {
        std::vector<std::string> texts;
        for (const TreeItem& item : items) {
            if (item.parent == handle) texts.push_back(item.text);
        }
        return texts;
    }

    std::vector<TreeItem> items;  // handle = position + 1
};

class RecordingRows : public IRowSink {
public:
    int InsertItem(int index, const char* text) override {
        const int row = index < static_cast<int>(rows.size()) ? index : static_cast<int>(rows.size());
        rows.insert(rows.begin() + row, std::vector<std::string>{text});
        return row;
    }
    void SetItemText(int row, int column, const char* text) override {
        auto& cells = rows.at(row);
        if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(column + 1);
        cells[column] = text;
    }

    std::vector<std::vector<std::string>> rows;
};

class RecordingText : public ITextSink {
public:
    void SetWindowText(const char* value) override {
        text = value;
        ++writes;
    }

    std::string text;
    int writes = 0;
};

class LogTest : public kvtest::RootedTest {
protected:
    // Everything posted before this returns has reached the view.
    void Settle() {
        const int markers = view_.Count(kMarker);
        ASSERT_TRUE(platform::PostMessage(view_.hwnd(), kMarker, 0, 0));
        ASSERT_TRUE(view_.WaitFor(kMarker, markers + 1, std::chrono::seconds(5)));
    }

    // The messages the view got, marker left out, as {number, wParam}.
    std::vector<std::pair<platform::UINT, platform::WPARAM>> Posted() const {
        std::vector<std::pair<platform::UINT, platform::WPARAM>> posted;
        for (const srvtest::ViewMessage& m : view_.Messages()) {
            if (m.message != kMarker) posted.emplace_back(m.message, m.wParam);
        }
        return posted;
    }

    static constexpr platform::UINT kMarker = platform::WM_APP + 7;
    srvtest::RecordingView view_;
};

}  // namespace logtest
