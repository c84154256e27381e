#include "stateworker.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zorelad {

namespace {
std::atomic<int> retiredThreads{0};
}

struct StateChange::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    bool abandoned = false;
    GstStateChangeReturn result = GST_STATE_CHANGE_FAILURE;
};

bool StateChange::wait(std::chrono::steady_clock::time_point deadline, GstStateChangeReturn *result)
{
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    if (!m_shared->ended.wait_until(lock, deadline, [this] { return m_shared->finished; }))
        return false;
    *result = m_shared->result;
    return true;
}

bool StateChange::running()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return !m_shared->finished;
}

void StateChange::abandon()
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->abandoned = true;
}

struct StateWorker::Queue {
    struct Job {
        GstElement *pipeline;
        GstState state;
        std::shared_ptr<StateChange::Shared> change;
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool ending = false;
    bool retired = false;
    std::thread thread;

    void run();
    static void carryOut(const Job &job);
};

void StateWorker::Queue::run()
{
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait(lock, [this] { return ending || !jobs.empty(); });
        if (jobs.empty())
            break;
        const Job job = jobs.front();
        jobs.pop_front();
        lock.unlock();
        carryOut(job);
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (retired)
        --retiredThreads;
}

void StateWorker::Queue::carryOut(const Job &job)
{
    const GstStateChangeReturn result = gst_element_set_state(job.pipeline, job.state);
    bool abandoned = false;
    {
        std::lock_guard<std::mutex> lock(job.change->mutex);
        job.change->finished = true;
        job.change->result = result;
        abandoned = job.change->abandoned;
        job.change->ended.notify_all();
    }
    if (abandoned)
        gst_element_set_state(job.pipeline, GST_STATE_NULL);
    gst_object_unref(job.pipeline);
}

StateWorker::StateWorker() = default;

StateWorker::~StateWorker()
{
    if (!m_queue)
        return;
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->ending = true;
    }
    m_queue->wake.notify_one();
    m_queue->thread.join();
}

StateChange StateWorker::change(GstElement *pipeline, GstState state)
{
    if (!m_queue) {
        m_queue = std::make_shared<Queue>();
        // The thread shares the queue, so a retired one outlives the worker.
        m_queue->thread = std::thread([queue = m_queue] { queue->run(); });
    }
    StateChange change;
    change.m_shared = std::make_shared<StateChange::Shared>();
    gst_object_ref(pipeline);
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->jobs.push_back({pipeline, state, change.m_shared});
    }
    m_queue->wake.notify_one();
    return change;
}

void StateWorker::retire()
{
    if (!m_queue)
        return;
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->ending = true;
        m_queue->retired = true;
        ++retiredThreads;
    }
    m_queue->wake.notify_one();
    m_queue->thread.detach();
    m_queue.reset();
}

int StateWorker::retired() { return retiredThreads; }

} // namespace zorelad
