#pragma once
// One finished download: the page text, the download it answers (its tag)
// and whether it succeeded.

#include <string>

struct CDownloaded {
    std::string m_Text;
    std::string m_Name;
    unsigned m_Tag = 0;
    bool m_Success = false;
};
