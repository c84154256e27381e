#pragma once
// A media player's state changes, carried out one after another on one
// thread of the player's own, so that whatever a change waits on (a file
// source that hangs in its open or its first read) holds up that thread and
// not the window, which waits a bounded time for the answer.

#include <gst/gst.h>

#include <chrono>
#include <memory>

namespace zorelad {

// One state change asked of the worker.
class StateChange {
public:
    // The change's answer, or false when it has not ended by `deadline`.
    bool wait(std::chrono::steady_clock::time_point deadline, GstStateChangeReturn *result);
    bool running();
    // The caller has given up on the pipeline: when the change ends, the
    // worker takes the pipeline down to NULL before it lets it go.
    void abandon();

private:
    friend class StateWorker;
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

class StateWorker {
public:
    StateWorker();
    // Ends the thread once its queue is done; a retired one ends on its own.
    ~StateWorker();
    StateWorker(const StateWorker &) = delete;
    StateWorker &operator=(const StateWorker &) = delete;

    // Queues the change of `pipeline` to `state` (the worker holds a
    // reference to the pipeline until the change is done).
    StateChange change(GstElement *pipeline, GstState state);

    // Leaves the thread to whatever holds it: it finishes its queue and ends
    // by itself, and the next change starts a thread of its own.
    void retire();

    // Threads retired and not yet ended: each holds a pipeline that a
    // source keeps from answering. Players open nothing new past
    // MaxRetired, so a source that hangs again and again cannot pile up
    // threads and pipelines.
    static int retired();
    static constexpr int MaxRetired = 4;

private:
    struct Queue;
    std::shared_ptr<Queue> m_queue;
};

} // namespace zorelad
