#pragma once
// A vector of strings with its own lock, for the logs that worker threads
// write and the control panel reads. Every operation takes the lock (a copy
// takes the source's); iterators and references stay valid only while no other thread
// changes the vector.

#include <string>
#include <vector>

#include "platform/CriticalSection.h"

class CStdStringVector {
public:
    using iterator = std::vector<std::string>::iterator;

    CStdStringVector() = default;
    CStdStringVector(const CStdStringVector& other);
    CStdStringVector& operator=(const CStdStringVector& other);
    virtual ~CStdStringVector() = default;

    // A null text adds nothing.
    void push_back(const char* text);
    // The end iterator, or an empty vector, does nothing.
    void erase(iterator position);
    void clear();
    bool empty();
    int size();
    iterator begin();
    iterator end();
    // The caller keeps index below size().
    std::string& operator[](int index);

private:
    std::vector<std::string> m_Strings;
    mutable platform::CriticalSection m_CS;
};
