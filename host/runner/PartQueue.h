#pragma once
// The link between two filters: a bounded first-in first-out queue of parts. A fast sender waits
// while the queue is full, a fast receiver while it is empty; Abort wakes both for good.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "platform/com/ComPtr.h"

// What a sender or receiver gets once the queue has been aborted: the job was cancelled.
inline constexpr HRESULT kQueueCancelled = HRESULT_FROM_WIN32(ERROR_PRINT_CANCELLED);

class CPartQueue {
public:
    explicit CPartQueue(std::size_t capacity);
    ~CPartQueue();
    CPartQueue(const CPartQueue&) = delete;
    CPartQueue& operator=(const CPartQueue&) = delete;

    // Queues part (the queue takes a reference of its own); blocks while the queue is full.
    // kQueueCancelled after Abort, E_FAIL after Close, E_POINTER for a null part.
    HRESULT Push(IUnknown* part);
    // No more parts follow; the receiver gets the end once the queued parts are taken. E_FAIL
    // when already closed, kQueueCancelled after Abort.
    HRESULT Close();
    // The next part into *part (the caller's reference); blocks while the queue is empty and open.
    // Success with *part null is the end; kQueueCancelled after Abort, even with parts still queued.
    HRESULT Pop(IUnknown** part);
    // Ends the link in both directions: queued parts are dropped and every waiting or later call fails.
    void Abort();
    // True once the sender has closed the queue.
    bool Closed();

private:
    const std::size_t capacity_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<ComPtr<IUnknown>> parts_;
    bool closed_ = false;
    bool aborted_ = false;
};
