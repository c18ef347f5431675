#include "relay/filter/CProbeScan.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace {

using Lanes = CProbeScan::Lanes;
constexpr std::size_t kLanes = CProbeScan::kLanes;
// Setting the case bit lowers an ASCII letter; the probes are stored so.
constexpr unsigned char kCaseBit = 0x20;

Lanes Load(const unsigned char* at) {
    Lanes lanes;
    std::memcpy(&lanes, at, kLanes);
    return lanes | kCaseBit;
}

// The lanes that are set, as 64-bit halves with one byte per lane.
struct SetLanes {
    std::uint64_t half[2];

    explicit SetLanes(Lanes hits) { std::memcpy(half, &hits, sizeof half); }
    bool Any() const { return (half[0] | half[1]) != 0; }
    // The index of the first lane that is set, which is then cleared.
    std::size_t TakeFirst() {
        const std::size_t i = half[0] != 0 ? 0 : 1;
        const int bit = std::endian::native == std::endian::little ? std::countr_zero(half[i]) : std::countl_zero(half[i]);
        const int byte = bit / 8;
        const std::uint64_t lane = std::uint64_t{0xff}
                                   << (std::endian::native == std::endian::little ? byte * 8 : 56 - byte * 8);
        half[i] &= ~lane;
        return i * 8 + static_cast<std::size_t>(byte);
    }
};

}  // namespace

void CProbeScan::Add(std::string_view lower) {
    assert(lower.size() >= kProbeSize);
    std::array<unsigned char, kProbeSize> probe{};
    for (std::size_t i = 0; i < kProbeSize; ++i) probe[i] = static_cast<unsigned char>(lower[i]) | kCaseBit;
    const auto held = m_Probes.begin() + static_cast<std::ptrdiff_t>(m_nProbes);
    if (std::find(m_Probes.begin(), held, probe) != held) return;
    assert(m_nProbes < kMostProbes);
    m_Probes[m_nProbes] = probe;
    m_First[m_nProbes] = Lanes{} + probe.front();
    m_Last[m_nProbes] = Lanes{} + probe.back();
    ++m_nProbes;
}

bool CProbeScan::HitAt(const unsigned char* at) const {
    for (std::size_t p = 0; p < m_nProbes; ++p) {
        std::size_t i = 0;
        while (i < kProbeSize && (at[i] | kCaseBit) == m_Probes[p][i]) ++i;
        if (i == kProbeSize) return true;
    }
    return false;
}

std::size_t CProbeScan::Next(std::string_view text, std::size_t from) const {
    if (m_nProbes == 0 || text.size() < kProbeSize) return std::string_view::npos;
    const auto* const base = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t starts = text.size() - kProbeSize + 1;  // one past the last place a probe fits
    std::size_t at = from;
    for (; at + kLanes - 1 + kProbeSize <= text.size(); at += kLanes) {
        const Lanes first = Load(base + at);
        const Lanes last = Load(base + at + kProbeSize - 1);
        Lanes hits{};
        for (std::size_t p = 0; p < m_nProbes; ++p) {
            hits |= reinterpret_cast<Lanes>((first == m_First[p]) & (last == m_Last[p]));
        }
        for (SetLanes set(hits); set.Any();) {
            const std::size_t place = at + set.TakeFirst();
            if (HitAt(base + place)) return place;
        }
    }
    for (; at < starts; ++at) {
        if (HitAt(base + at)) return at;
    }
    return std::string_view::npos;
}
