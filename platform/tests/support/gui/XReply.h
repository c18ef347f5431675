#pragma once
// (internal) An X server reply owned as xcb hands it over: freed with free().

#include <cstdlib>
#include <memory>

namespace kvtest {

template <typename T>
using XReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XReply<T> TakeReply(T* reply) {
    return XReply<T>(reply, &std::free);
}

}  // namespace kvtest
