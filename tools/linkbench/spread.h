// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The median of several runs with the least and the most, as the benchmark prints them.

#include <algorithm>
#include <vector>

struct Spread {
    double median = 0, least = 0, most = 0;
};

inline Spread spreadOf(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}
