// Shared by the icon-layer benchmarks.
#pragma once

#include <functional>

namespace tavo::bench {

// Runs `work` once in a child process and returns the most memory it had
// resident beyond what the child started with (a copy of this process, inputs
// included), in MiB; negative if it could not be measured.
double peakMiB(const std::function<void()>& work);

}  // namespace tavo::bench
