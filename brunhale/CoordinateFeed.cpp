#include "brunhale/CoordinateFeed.h"

namespace velmora::brunhale {

CoordinateFeed::CoordinateFeed(CoordinateFileReader& reader) : reader_(reader), batches_(kBatches) {
    state_ = State{reader_.hasList(), reader_.nextId(), reader_.nextLine()};
    if (state_.pending) thread_ = std::thread([this] { run(); });
}

CoordinateFeed::~CoordinateFeed() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void CoordinateFeed::run() {
    for (;;) {
        Batch* batch = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return filled_ - emptied_ < kBatches || stop_; });
            if (stop_) return;
            batch = &batches_[filled_ % kBatches];
        }
        batch->xs.clear();
        batch->ys.clear();
        batch->lists.clear();
        batch->failure = nullptr;
        bool last = false;
        while (!last && batch->lists.size() < kBatchLists && batch->xs.size() < kBatchVertices) {
            try {
                reader_.appendList(batch->xs, batch->ys);
                batch->lists.push_back({batch->xs.size(), State{reader_.hasList(), reader_.nextId(), reader_.nextLine()}});
            } catch (...) {
                batch->failure = std::current_exception();
                last = true;
                break;
            }
            last = !reader_.hasList();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++filled_;
        }
        changed_.notify_all();
        if (last) return;
    }
}

void CoordinateFeed::takeList(std::vector<double>& xs, std::vector<double>& ys) {
    for (;;) {
        if (!haveFront_) {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return emptied_ < filled_; });
            haveFront_ = true;
        }
        Batch& batch = batches_[emptied_ % kBatches];
        if (taken_ < batch.lists.size()) {
            const std::size_t first = taken_ == 0 ? 0 : batch.lists[taken_ - 1].end;
            const List& list = batch.lists[taken_++];
            xs.assign(batch.xs.begin() + static_cast<long>(first), batch.xs.begin() + static_cast<long>(list.end));
            ys.assign(batch.ys.begin() + static_cast<long>(first), batch.ys.begin() + static_cast<long>(list.end));
            state_ = list.after;
            return;
        }
        // The batch is used up: the failure after its last list is this list's, or the next batch holds it.
        if (batch.failure) {
            state_.pending = false;
            std::rethrow_exception(batch.failure);
        }
        taken_ = 0;
        haveFront_ = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++emptied_;
        }
        changed_.notify_all();
    }
}

}  // namespace velmora::brunhale
