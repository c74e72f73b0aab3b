#pragma once
// The .shp/.shx half of a run, in a thread of its own. Reading the coordinate file and writing the shapes
// is the larger part of the work, and it needs nothing of a record block but its id, line, point count and
// part starts: the caller reads the header file and writes the .dbf while this half pairs what it is handed
// with the vertex lists (read ahead by a CoordinateFeed, a third thread) and writes each shape.
//
// Failures come out as a run in one thread would meet them. Everything handed over comes before, in
// reading order, whatever the caller does after handing it over: so the caller lets the half finish what
// it holds before it reports a failure of its own (finishAfterFailure), and a failure of the half wins.
// The half stops at its first failure and the caller at its next hand-over; the temporaries both wrote
// are then discarded as in any failed run.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "brunhale/CoordinateFeed.h"
#include "brunhale/PairFormat.h"

namespace velmora::brunhale {

class ShapefileOutput;

class GeometryHalf {
public:
    // coords (which has read its first line) and shp are the half's alone until finish() or
    // finishAfterFailure() returns; coords is read on beyond the lists taken.
    GeometryHalf(ShapeKind kind, CoordinateFileReader& coords, ShapefileOutput& shp);
    ~GeometryHalf();
    GeometryHalf(const GeometryHalf&) = delete;
    GeometryHalf& operator=(const GeometryHalf&) = delete;

    // Hands over the shape of one record block; throws the half's failure once there is one.
    void add(const RecordBlock& rec);
    // Waits until every shape handed over is written and the thread has ended; throws the half's failure,
    // then the failure of a vertex list that no record block took.
    void finish();
    // For the caller's own failure: waits likewise and throws the half's failure if it had one (it came
    // first), otherwise returns so the caller goes on with its own.
    void finishAfterFailure();

private:
    struct Shape {
        long line = 0;
        std::int64_t id = 0;
        int points = 0;
        std::vector<int> partStarts;
    };
    // Record blocks travel in batches, so the threads meet once per batch, not once per record; a few
    // batches in flight bound the memory, and their vectors are reused.
    static constexpr std::size_t kBatchShapes = 512;
    static constexpr std::size_t kBatches = 4;
    struct Batch {
        std::array<Shape, kBatchShapes> shapes;
        std::size_t size = 0;  // set when the batch is handed over
    };

    void run();
    void writeBatch(Batch& batch);
    void publish();
    [[noreturn]] void throwFailure();

    const ShapeKind kind_;
    CoordinateFeed coords_;
    ShapefileOutput& shp_;
    std::vector<double> xs_, ys_;
    std::vector<Batch> batches_;
    std::size_t filled_ = 0;  // shapes in the batch the caller is filling

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t published_ = 0;  // batches handed over (written by the caller under the lock)
    std::size_t written_ = 0;    // batches written (written by the half under the lock)
    bool closing_ = false;       // nothing more will be handed over
    std::atomic<bool> failed_{false};
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace velmora::brunhale
