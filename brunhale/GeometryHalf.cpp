#include "brunhale/GeometryHalf.h"

#include <string>

#include "brunhale/Failure.h"
#include "brunhale/ShapefileOutput.h"

namespace velmora::brunhale {

GeometryHalf::GeometryHalf(ShapeKind kind, CoordinateFileReader& coords, ShapefileOutput& shp)
    : kind_(kind), coords_(coords), shp_(shp), batches_(kBatches) {
    thread_ = std::thread([this] { run(); });
}

GeometryHalf::~GeometryHalf() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void GeometryHalf::throwFailure() {
    if (thread_.joinable()) thread_.join();  // it ends at its failure
    std::rethrow_exception(failure_);
}

void GeometryHalf::add(const RecordBlock& rec) {
    if (failed_.load(std::memory_order_acquire)) throwFailure();
    if (filled_ == 0) {
        // A batch is filled only once the half has written what it held before.
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return published_ - written_ < kBatches || failed_.load(); });
        if (failed_.load()) {
            lock.unlock();
            throwFailure();
        }
    }
    Batch& batch = batches_[published_ % kBatches];
    Shape& s = batch.shapes[filled_++];
    s.line = rec.line;
    s.id = rec.id;
    s.points = rec.points;
    s.partStarts.assign(rec.partStarts.begin(), rec.partStarts.end());
    if (filled_ == kBatchShapes) publish();
}

void GeometryHalf::publish() {
    batches_[published_ % kBatches].size = filled_;
    filled_ = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++published_;
    }
    changed_.notify_all();
}

void GeometryHalf::finish() {
    finishAfterFailure();
    if (coords_.hasList())
        malformedAt(CoordinateFileName, coords_.nextLine(),
                    "vertex list " + std::to_string(coords_.nextId()) + " has no record block");
}

void GeometryHalf::finishAfterFailure() {
    if (thread_.joinable()) {
        if (filled_ > 0) publish();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    if (failed_.load()) std::rethrow_exception(failure_);
}

void GeometryHalf::run() {
    try {
        for (;;) {
            Batch* batch = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [&] { return written_ < published_ || closing_; });
                if (written_ == published_) return;  // closing, and everything written
                batch = &batches_[written_ % kBatches];
            }
            writeBatch(*batch);
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
            failed_.store(true, std::memory_order_release);
        }
        changed_.notify_all();
    }
}

// Record blocks and vertex lists are paired by walking both files in order: a block takes the next vertex
// list when the ids agree, otherwise its shape is null (a mesh cell whose ring was written under the id of
// an earlier record; every station carries id 1 and so pairs in turn).
void GeometryHalf::writeBatch(Batch& batch) {
    for (std::size_t i = 0; i < batch.size; ++i) {
        const Shape& s = batch.shapes[i];
        if (!coords_.hasList() || coords_.nextId() != s.id) {
            shp_.writeNull();
            continue;
        }
        const long listLine = coords_.nextLine();
        coords_.takeList(xs_, ys_);
        if (kind_ == ShapeKind::Point) {
            if (xs_.empty()) shp_.writeNull();
            else if (xs_.size() == 1) shp_.writePoint(xs_[0], ys_[0]);
            else malformedAt(CoordinateFileName, listLine, "point " + std::to_string(s.id) + " has " + std::to_string(xs_.size()) + " vertices");
            continue;
        }
        if (static_cast<int>(xs_.size()) != s.points)
            malformedAt(HeaderFileName, s.line,
                        "PARTS_POINTS of " + std::to_string(s.id) + " gives " + std::to_string(s.points) +
                            " points, its vertex list (" + CoordinateFileName + " line " + std::to_string(listLine) +
                            ") has " + std::to_string(xs_.size()));
        if (xs_.empty()) shp_.writeNull();
        else shp_.writeParts(s.partStarts, xs_, ys_);
    }
}

}  // namespace velmora::brunhale
