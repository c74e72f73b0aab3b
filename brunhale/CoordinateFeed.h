#pragma once
// The coordinate file read ahead in a thread of its own: parsing the numbers is the costliest step of a
// run, and the shapes can be written meanwhile. The feed gives what CoordinateFileReader gives, in the
// same order: a failure of the reader comes out of the takeList() whose reading met it, so a list that is
// never taken (the run failed before it, or it is left over) never shows its fault, as when read in turn.
// The read-ahead is bounded: a few batches of some thousand vertices, or one list when a list is larger.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "brunhale/PairFormat.h"

namespace velmora::brunhale {

class CoordinateFeed {
public:
    // reader stays with the feed's thread until the feed is destroyed; it has read its first line.
    explicit CoordinateFeed(CoordinateFileReader& reader);
    ~CoordinateFeed();
    CoordinateFeed(const CoordinateFeed&) = delete;
    CoordinateFeed& operator=(const CoordinateFeed&) = delete;

    bool hasList() const { return state_.pending; }
    std::int64_t nextId() const { return state_.id; }
    long nextLine() const { return state_.line; }
    // The waiting vertex list; throws what reading it (up to the next list's first line) threw.
    void takeList(std::vector<double>& xs, std::vector<double>& ys);

private:
    // What hasList(), nextId() and nextLine() tell.
    struct State {
        bool pending = false;
        std::int64_t id = 0;
        long line = 0;
    };
    struct List {
        std::size_t end = 0;  // one past its last vertex in the batch
        State after;          // the reader's state once it was read
    };
    struct Batch {
        std::vector<double> xs, ys;
        std::vector<List> lists;
        std::exception_ptr failure;  // of reading the list after the last one
    };
    static constexpr std::size_t kBatches = 8;
    static constexpr std::size_t kBatchVertices = 8192;
    static constexpr std::size_t kBatchLists = 1024;

    void run();

    CoordinateFileReader& reader_;
    State state_;
    std::vector<Batch> batches_;
    bool haveFront_ = false;  // the caller holds the batch in front
    std::size_t taken_ = 0;   // lists it took from that batch

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t filled_ = 0;  // batches the thread handed over
    std::size_t emptied_ = 0; // batches the caller is done with
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace velmora::brunhale
