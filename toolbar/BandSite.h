#pragma once
// What a band's host offers it: the site gives the window the band lives
// in and, when it has one, the browser (whose bars it can show and which
// it can send to an address).

#include <memory>
#include <string>

class wxWindow;

class IBandBrowser {
public:
    virtual ~IBandBrowser() = default;
    virtual void Navigate2(const std::string& url) = 0;
    virtual void ShowBrowserBar(const std::string& barClsid, bool show) = 0;
};

class IBandSite {
public:
    virtual ~IBandSite() = default;
    // The site's window; null when it has none.
    virtual wxWindow* GetSiteWindow() = 0;
    // The browser service; null when the site offers none.
    virtual std::shared_ptr<IBandBrowser> QueryBrowser() = 0;
};
