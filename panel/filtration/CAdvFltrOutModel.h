#pragma once
// The outgoing-filtration page without its widgets: one integer per check
// box, the server stop list as its sorted list box shows it, and which
// controls are enabled. Every change goes into the working settings at once
// and marks them changed (kind 0).

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"

class IPageHost;

class CAdvFltrOutModel {
public:
    // Runs the server-name dialog opened with sample; the name on OK.
    using AskServerName = std::function<std::optional<std::string>(const std::string& sample)>;
    // Clears the browser caches ("Remove" does it every time).
    using ClearCaches = std::function<void()>;

    struct Control {
        bool enabled = false;
        bool shown = true;
    };

    // clearCaches empty: the system browser's and Opera's cache cleaners.
    CAdvFltrOutModel(IPageHost& host, AskServerName ask, ClearCaches clearCaches = {});

    // Reads the flags and the stop list of the working settings.
    void Load();

    bool IsChecked(int box) const;
    const Control& GetControl(int id) const;
    // The list box's lines, sorted.
    const std::vector<std::string>& GetLines() const { return m_Lines; }

    void OnBoxClicked(int box, bool checked);
    void OnAdd();
    // selected: the list box's selected line, -1 for none.
    void OnRemove(int selected);
    void OnSelectAll();
    void OnDeselectAll();
    // WM_OUTFILTER_ON / WM_OUTFILTER_OFF from the filter switch.
    void OnFilterSwitch(bool on);

    // Every check box, 1023 first.
    static const std::vector<int>& Boxes();
    static const std::vector<PageTip>& Tips();
    // The cleaners "Remove" runs by default.
    static void ClearBrowserCaches();

private:
    void Store();
    void Refresh();
    void SetAll(bool checked);

    IPageHost& m_Host;
    AskServerName m_Ask;
    ClearCaches m_ClearCaches;
    std::map<int, int> m_Checks;
    std::map<int, Control> m_Controls;
    std::vector<std::string> m_Lines;
};
