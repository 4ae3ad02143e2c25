#include "editor/core/ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// More threads than this gain nothing for a document's pages.
constexpr size_t kMaxThreads = 8;

} // namespace

void ForEachOnAllCores(size_t count, const std::function<void(size_t)>& work)
{
    std::atomic<size_t> next{0};
    // An exception must not escape a helper thread (that ends the process):
    // the first one stops the work, every thread is joined, and it is thrown
    // again on the calling thread.
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto worker = [count, &work, &next, &failureLock, &failure] {
        try {
            for (size_t i = next++; i < count; i = next++)
                work(i);
        } catch (...) {
            next = count;
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
        }
    };
    const size_t threads =
        std::min<size_t>({std::max(1u, std::thread::hardware_concurrency()), kMaxThreads, count});
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break; // fewer helpers; this thread does the rest
        }
    }
    worker();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
