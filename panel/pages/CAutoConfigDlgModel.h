#pragma once
// The program-integration dialog without its widgets: one box per client
// program, enabled only while the program is installed; Apply reads the
// boxes into the working copy and hands it to the engine.

#include <functional>
#include <vector>

#include "panel/pages/PageTip.h"

class CSysConfig;
class IPageHost;

class CAutoConfigDlgModel {
public:
    struct Program {
        int box;
        const char* name;
        bool (CSysConfig::*get)() const;
        void (CSysConfig::*set)(bool);
    };
    struct Box {
        bool enabled = false;
        bool checked = false;
    };
    // Whether the program of a box is installed.
    using InstalledTest = std::function<bool(int box)>;

    // installed: empty asks the engine's configurators.
    explicit CAutoConfigDlgModel(IPageHost& host, InstalledTest installed = {});

    void Init();
    const Box& GetBox(int box) const;
    bool IsRestoreEnabled() const { return m_bRestoreEnabled; }

    void OnBoxClicked(int box, bool checked);
    void Apply();
    // Apply; the dialog then ends with 0.
    void Ok();
    void Backup();
    void Restore();

    static const std::vector<Program>& Programs();
    static const std::vector<PageTip>& Tips();
    // The installed test of the engine's configurators.
    static bool IsProgramInstalled(int box);

private:
    // The row of a box in Programs(); throws for an unknown box.
    static std::size_t IndexOf(int box);

    IPageHost& m_Host;
    InstalledTest m_Installed;
    std::vector<Box> m_Boxes;
    bool m_bRestoreEnabled = false;
};
