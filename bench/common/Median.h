#pragma once

#include <algorithm>
#include <vector>

// The middle one of a run's samples, which one slow sample does not move.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
