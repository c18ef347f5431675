#pragma once
// The incoming-filtration page without its widgets: one integer per check
// box, the page title, and which controls are enabled. Every change goes
// into the working settings at once and marks them changed (kind 0).

#include <map>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"

class IPageHost;

class CAdvFltrInModel {
public:
    static constexpr std::size_t kMaxTitle = 50;
    // What a too long title is replaced with.
    static constexpr const char* kTitleReplacement = "Kavelin Professional Edition";

    struct Control {
        bool enabled = false;
        bool shown = true;
    };

    explicit CAdvFltrInModel(IPageHost& host);

    // Reads the working settings into the integers and the title.
    void Load();

    bool IsChecked(int box) const;
    const Control& GetControl(int id) const;
    // The text the title edit shows.
    const std::string& GetTitle() const { return m_Title; }

    // A click on a check box (1018 included) that left it checked or not.
    void OnBoxClicked(int box, bool checked);
    // The title edit's text changed; the edit then shows GetTitle().
    void OnTitleChanged(const std::string& text);
    void OnSelectAll();
    void OnDeselectAll();
    // WM_INFILTER_ON / WM_INFILTER_OFF from the filter switch.
    void OnFilterSwitch(bool on);

    // Every check box, 1018 first.
    static const std::vector<int>& Boxes();
    static const std::vector<PageTip>& Tips();

private:
    void Store();
    void Refresh();
    void SetAll(bool checked);

    IPageHost& m_Host;
    std::map<int, int> m_Checks;
    std::map<int, Control> m_Controls;
    std::string m_Title;
};
