#include "panel/pages/CSubPageSwitch.h"

#include "panel/pages/ISubPageFrame.h"

CSubPageSwitch::CSubPageSwitch(ISubPageFrame& frame, std::vector<Kind> kinds)
    : m_Frame(frame), m_Kinds(std::move(kinds)) {}

bool CSubPageSwitch::Show(int code) {
    const Kind* kind = nullptr;
    for (const Kind& k : m_Kinds) {
        if (k.code == code) kind = &k;
    }
    if (!kind || m_Shown == code) return false;
    Close();
    m_Frame.ShowHeader(kind->headerImage);
    if (m_Frame.CreateSubPage(code)) {
        m_bHasPage = true;
        m_Shown = code;
        m_Frame.PlaceSubPage();
    }
    m_Frame.Repaint();
    return true;
}

bool CSubPageSwitch::OnZone(int zone) {
    for (const Kind& k : m_Kinds) {
        if (k.zone == zone) return Show(k.code);
    }
    return false;
}

void CSubPageSwitch::Close() {
    m_Shown = 0;
    if (m_bHasPage) {
        m_bHasPage = false;
        m_Frame.CloseSubPage();
    }
}
