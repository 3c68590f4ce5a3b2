// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eight register words R0..R7 written out in a test.

#include "synth/synthfields.h"

#include <algorithm>
#include <initializer_list>

inline rw::SynthRegisters words(std::initializer_list<uint32_t> w)
{
    rw::SynthRegisters r{};
    std::copy(w.begin(), w.end(), r.begin());
    return r;
}
