#pragma once
// A thread that writes one output of a run from what the reading thread hands it, one item per record
// block, in order. Items travel in batches, so the threads meet once per batch and not once per record;
// a few batches in flight bound the memory, and the items (their strings and vectors) are reused.
//
// The worker stops at its first failure and keeps it with the index of the record it failed at, so the
// run can report, of the failures its threads met, the one that comes first in reading order.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora::brunhale {

// Writer: void write(const Item&), called in the worker's thread for every item in turn.
template <typename Item, typename Writer>
class RecordWorker {
public:
    explicit RecordWorker(Writer& writer) : writer_(writer), batches_(kBatches) {
        thread_ = std::thread([this] { run(); });
    }
    ~RecordWorker() { finish(); }
    RecordWorker(const RecordWorker&) = delete;
    RecordWorker& operator=(const RecordWorker&) = delete;

    // The item to fill for the next record, then handed over by handOver(). Call neither once failed().
    Item& next() {
        if (filled_ == 0) {
            // A batch is filled only once the worker has written what it held before.
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return published_ - written_ < kBatches || failed_.load(); });
        }
        return batches_[published_ % kBatches].items[filled_];
    }
    void handOver() {
        if (++filled_ == kBatchItems) publish();
    }
    bool failed() const { return failed_.load(std::memory_order_acquire); }

    // Waits until everything handed over is written (or the worker failed) and the thread has ended.
    void finish() {
        if (!thread_.joinable()) return;
        if (filled_ > 0) publish();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    // After finish(): the failure and the 0-based index of the item it came from.
    std::exception_ptr failure() const { return failure_; }
    std::size_t failedAt() const { return failedAt_; }

private:
    static constexpr std::size_t kBatchItems = 512;
    static constexpr std::size_t kBatches = 8;
    struct Batch {
        std::array<Item, kBatchItems> items;
        std::size_t size = 0;  // set when the batch is handed over
    };

    void publish() {
        batches_[published_ % kBatches].size = filled_;
        filled_ = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++published_;
        }
        changed_.notify_all();
    }

    void run() {
        std::size_t index = 0;
        try {
            for (;;) {
                Batch* batch = nullptr;
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    changed_.wait(lock, [&] { return written_ < published_ || closing_; });
                    if (written_ == published_) return;  // closing, and everything written
                    batch = &batches_[written_ % kBatches];
                }
                for (std::size_t i = 0; i < batch->size; ++i, ++index) writer_.write(batch->items[i]);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    ++written_;
                }
                changed_.notify_all();
            }
        } catch (...) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                failure_ = std::current_exception();
                failedAt_ = index;
                failed_.store(true, std::memory_order_release);
            }
            changed_.notify_all();
        }
    }

    Writer& writer_;
    std::vector<Batch> batches_;
    std::size_t filled_ = 0;  // items in the batch the caller is filling

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t published_ = 0;  // batches handed over (written by the caller under the lock)
    std::size_t written_ = 0;    // batches written (written by the worker under the lock)
    bool closing_ = false;       // nothing more will be handed over
    std::atomic<bool> failed_{false};
    std::exception_ptr failure_;
    std::size_t failedAt_ = 0;
    std::thread thread_;
};

}  // namespace velmora::brunhale
