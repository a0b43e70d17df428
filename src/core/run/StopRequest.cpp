#include "StopRequest.h"

#include <atomic>

namespace
{
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");
} // namespace

int StopRequest::signal()
{
    return stopSignal.load(std::memory_order_relaxed);
}

void StopRequest::request(int signal)
{
    int none = 0;
    // The first signal is the one the exit status tells.
    stopSignal.compare_exchange_strong(none, signal, std::memory_order_relaxed);
}

void StopRequest::clear()
{
    stopSignal.store(0, std::memory_order_relaxed);
}
