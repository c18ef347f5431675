#pragma once
// One tooltip of a page: the control and its text.

#include <string>

struct PageTip {
    int control;
    std::string text;
};
