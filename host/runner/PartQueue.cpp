#include "host/runner/PartQueue.h"

#include <utility>

CPartQueue::CPartQueue(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

CPartQueue::~CPartQueue() = default;

HRESULT CPartQueue::Push(IUnknown* part)
{
    if (!part)
        return E_POINTER;
    ComPtr<IUnknown> held(part);
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return aborted_ || closed_ || parts_.size() < capacity_; });
    if (aborted_)
        return kQueueCancelled;
    if (closed_)
        return E_FAIL;
    parts_.push_back(std::move(held));
    changed_.notify_all();
    return S_OK;
}

HRESULT CPartQueue::Close()
{
    std::lock_guard guard(lock_);
    if (aborted_)
        return kQueueCancelled;
    if (closed_)
        return E_FAIL;
    closed_ = true;
    changed_.notify_all();
    return S_OK;
}

HRESULT CPartQueue::Pop(IUnknown** part)
{
    if (!part)
        return E_POINTER;
    *part = nullptr;
    ComPtr<IUnknown> next;
    {
        std::unique_lock guard(lock_);
        changed_.wait(guard, [&] { return aborted_ || closed_ || !parts_.empty(); });
        if (aborted_)
            return kQueueCancelled;
        if (parts_.empty())
            return S_OK;
        next = std::move(parts_.front());
        parts_.pop_front();
        changed_.notify_all();
    }
    *part = next.Detach();
    return S_OK;
}

void CPartQueue::Abort()
{
    std::deque<ComPtr<IUnknown>> dropped;
    {
        std::lock_guard guard(lock_);
        aborted_ = true;
        dropped.swap(parts_);
        changed_.notify_all();
    }
    // Parts are released outside the lock: their destructors may take locks of their own.
}

bool CPartQueue::Closed()
{
    std::lock_guard guard(lock_);
    return closed_;
}
