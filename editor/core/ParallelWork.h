#pragma once

#include <cstddef>
#include <functional>

// Calls work(i) for every i below count, spread over up to as many threads as
// there are cores (the calling thread is one of them), and returns when all
// are done. Each index is taken by exactly one thread. Pages of a document do
// not depend on one another, so decoding or encoding them this way takes the
// time of a single page per core.
void ForEachOnAllCores(size_t count, const std::function<void(size_t)>& work);
