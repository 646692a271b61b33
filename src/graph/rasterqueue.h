#pragma once
// A second thread that sets the pixels of thin lines while the caller samples the next line:
// on a large, fine screen a redraw is half sampling and half memory traffic (restoring the
// background, blending the lines), and the two run side by side. Jobs run one after the other
// in the order posted, so the picture is the same as when drawn on one thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace graph {

class RasterQueue {
public:
    RasterQueue();
    ~RasterQueue(); // runs what is posted, then ends the thread
    RasterQueue(const RasterQueue&) = delete;
    RasterQueue& operator=(const RasterQueue&) = delete;

    void post(std::function<void()> job);
    // Returns when every job posted so far has run; until the next post nothing touches what
    // the jobs touched.
    void drain();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false; // a job is running outside the lock
    bool stop_ = false;
    std::thread thread_;
};

} // namespace graph
