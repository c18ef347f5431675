#pragma once
// The ad-server lists dialog without its widgets. The three sorted list
// boxes start from the lists the engine last received; the moves edit the
// lists of the working settings (marking them changed, kind 0). Server
// names compare without regard to letter case.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"

class CFiltrationBanners;
class IPageHost;

class CAdServerModel {
public:
    // Runs the server-name dialog opened with sample; the name on OK.
    using AskServerName = std::function<std::optional<std::string>(const std::string& sample)>;

    struct Colour {
        unsigned char red, green, blue;
    };
    struct Gradient {
        Colour top, bottom;
    };

    // shown: the engine's lists, which the boxes start from.
    CAdServerModel(IPageHost& host, const CFiltrationBanners& shown, AskServerName ask);

    const std::vector<std::string>& Allowed() const { return m_Allowed; }
    const std::vector<std::string>& Blocked() const { return m_Blocked; }
    const std::vector<std::string>& Custom() const { return m_Custom; }

    // selected: the box's selected line, -1 for none. False when no line
    // was selected.
    bool OnAdd(int selected);
    bool OnRemove(int selected);
    void OnAddAll();
    void OnRemoveAll();
    void OnAddServer();
    void OnRemoveServer(int selected);

    // The background while mixed chains are allowed or not.
    static Gradient Background(bool mixChain);
    static const std::vector<PageTip>& Tips();

private:
    // Moves line selected of fromBox: out of the from list, into the to
    // list and box unless the to list holds it already.
    bool Move(std::vector<std::string>& fromBox, std::vector<std::string>& fromList, std::vector<std::string>& toBox,
              std::vector<std::string>& toList, int selected);
    CFiltrationBanners& Working();

    IPageHost& m_Host;
    AskServerName m_Ask;
    std::vector<std::string> m_Allowed;
    std::vector<std::string> m_Blocked;
    std::vector<std::string> m_Custom;
};
