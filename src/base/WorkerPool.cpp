#include "base/WorkerPool.h"

#include <algorithm>
#include <exception>

namespace larkspan {

namespace {

// How many pieces each worker may run ahead of the piece taken last: enough
// that a slow piece does not idle the others, few enough that the results
// waiting to be taken stay a small part of the whole.
constexpr std::size_t kLookAheadPerWorker = 64;

} // namespace

struct WorkerPool::Job {
    Job(std::size_t count, const Work& work) : count(count), work(work), finished(count, false) {}

    std::size_t count;
    const Work& work;
    std::size_t next = 0;  // the next piece to hand out
    std::size_t limit = 0; // pieces below it may be handed out
    std::vector<bool> finished;
    unsigned busy = 0;     // workers inside a piece
    bool stopping = false;
    std::exception_ptr failure;
};

unsigned defaultWorkerCount()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

WorkerPool::WorkerPool(unsigned workers)
{
    for (unsigned worker = 0; worker < std::max(1u, workers); ++worker)
        threads_.emplace_back([this, worker] { serve(worker); });
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

bool WorkerPool::pieceAvailable() const
{
    return job_ && !job_->stopping && job_->next < std::min(job_->count, job_->limit);
}

void WorkerPool::serve(unsigned worker)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [this] { return quitting_ || pieceAvailable(); });
        if (quitting_)
            return;
        Job& job = *job_;
        const std::size_t piece = job.next++;
        ++job.busy;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job.work(piece, worker);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        --job.busy;
        job.finished[piece] = true;
        if (failure && !job.failure) {
            job.failure = failure;
            job.stopping = true;
        }
        pieceFinished_.notify_all();
    }
}

bool WorkerPool::run(std::size_t count, const Work& work, const Take& take)
{
    const std::size_t lookAhead = kLookAheadPerWorker * threads_.size();
    Job job(count, work);
    job.limit = lookAhead;
    {
        const std::lock_guard lock(mutex_);
        job_ = &job;
    }
    workAvailable_.notify_all();

    bool taken = true;
    std::exception_ptr failure;
    for (std::size_t piece = 0; piece < count && taken; ++piece) {
        {
            std::unique_lock lock(mutex_);
            pieceFinished_.wait(lock, [&] { return job.finished[piece] || job.stopping; });
            if (job.stopping)
                break;
        }
        try {
            taken = take(piece);
        } catch (...) {
            failure = std::current_exception();
            taken = false;
        }
        {
            const std::lock_guard lock(mutex_);
            job.limit = piece + 1 + lookAhead;
        }
        workAvailable_.notify_all();
    }

    std::unique_lock lock(mutex_);
    job.stopping = true;
    pieceFinished_.wait(lock, [&] { return job.busy == 0; });
    job_ = nullptr;
    if (!failure)
        failure = job.failure;
    lock.unlock();
    if (failure)
        std::rethrow_exception(failure);
    return taken;
}

} // namespace larkspan
