#pragma once
// The hunter's allocations for a page (the download's text, the download
// manager) end on an allocation failure, which the hunter reports as low
// resources. Tests simulate one.

namespace hunter_test {
// While set, every allocation the hunter checks fails.
void SimulateLowResources(bool low);
}  // namespace hunter_test

// Throws std::bad_alloc while a test simulates low resources.
void ThrowIfLowResources();
