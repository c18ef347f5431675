#pragma once
// Finds where one of a few short probes begins in a text, in any ASCII case.
// Sixteen places are tried at a time on two of each probe's bytes; only the
// places where both stand are compared whole. A hit may still be a false
// one (a probe's bytes are matched with their case bit ignored, so a few
// control bytes pass for punctuation), never a missed one.

#include <array>
#include <cstddef>
#include <string_view>

class CProbeScan {
public:
    static constexpr std::size_t kProbeSize = 4;
    static constexpr std::size_t kMostProbes = 8;
    static constexpr std::size_t kLanes = 16;
    using Lanes = unsigned char __attribute__((vector_size(kLanes)));

    void Clear() { m_nProbes = 0; }
    // The first kProbeSize bytes of a lower-case text of at least that
    // size, unless already held; at most kMostProbes distinct ones.
    void Add(std::string_view lower);

    // The first place at or after from where a whole probe begins, or npos.
    std::size_t Next(std::string_view text, std::size_t from) const;

private:
    bool HitAt(const unsigned char* at) const;

    std::array<std::array<unsigned char, kProbeSize>, kMostProbes> m_Probes{};
    // Each probe's first and last byte in every lane.
    std::array<Lanes, kMostProbes> m_First{};
    std::array<Lanes, kMostProbes> m_Last{};
    std::size_t m_nProbes = 0;
};
