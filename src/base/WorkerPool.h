#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace larkspan {

// One worker per core, and at least one.
unsigned defaultWorkerCount();

// A few threads that do the numbered pieces of one job at a time. The
// calling thread takes each piece's result in number order, as soon as that
// piece and every one before it are done: whatever the results feed (a tree
// and its observers, a file, a progress bar) sees one thread and one order,
// however many workers there are.
class WorkerPool {
public:
    explicit WorkerPool(unsigned workers = defaultWorkerCount());
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned size() const { return static_cast<unsigned>(threads_.size()); }

    using Work = std::function<void(std::size_t piece, unsigned worker)>;
    using Take = std::function<bool(std::size_t piece)>;

    // Runs work(piece, worker) for every piece below `count` on the workers
    // (`worker`, below size(), picks state kept per worker) and take(piece)
    // on the calling thread in order. Workers run only a bounded number of
    // pieces ahead of the last one taken, so few results wait at a time.
    // take returning false stops the job: pieces not begun are left, those
    // running finish, and run returns false. An exception from work or take
    // stops it the same way and is thrown again here.
    bool run(std::size_t count, const Work& work, const Take& take);

private:
    struct Job;
    void serve(unsigned worker);
    bool pieceAvailable() const;

    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable pieceFinished_;
    Job* job_ = nullptr;
    bool quitting_ = false;
    std::vector<std::thread> threads_;
};

} // namespace larkspan
