#include "beacon/BeaconSerialQueue.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>
#include <thread>

#include <pthread.h>

#include "beacon/BeaconLog.h"

namespace beacon {

// Shared with the worker so that a queue destroyed from one of its own tasks
// can let the worker finish without touching freed memory.
struct BeaconSerialQueue::State {
    std::string label;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Task> tasks;
    bool stopping = false;
    std::thread worker;
    std::thread::id workerId;
};

BeaconSerialQueue::BeaconSerialQueue(std::string label)
    : m_label(std::move(label))
    , m_state(std::make_shared<State>())
{
    m_state->label = m_label;
    const std::lock_guard lock(m_state->mutex);
    m_state->worker = std::thread([state = m_state] { runWorker(state); });
    m_state->workerId = m_state->worker.get_id();
    // Thread names are limited to 15 characters; the tail of a dotted label is the telling part.
    const std::string name = m_label.size() > 15 ? m_label.substr(m_label.size() - 15) : m_label;
    pthread_setname_np(m_state->worker.native_handle(), name.c_str());
}

BeaconSerialQueue::~BeaconSerialQueue()
{
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
    }
    m_state->wake.notify_one();
    if (isCurrent())
        m_state->worker.detach();
    else
        m_state->worker.join();
}

bool BeaconSerialQueue::post(Task task)
{
    // Nothing of `this` is touched after the task is queued: it may destroy this queue.
    const std::shared_ptr<State> state = m_state;
    return postTo(*state, std::move(task));
}

bool BeaconSerialQueue::Poster::post(Task task) const
{
    // The state outlives the queue without its thread: releasing it never waits for anything.
    const std::shared_ptr<State> state = m_state.lock();
    return state && postTo(*state, std::move(task));
}

bool BeaconSerialQueue::postTo(State& state, Task task)
{
    // Notified under the lock, so that the worker cannot finish and let the state go meanwhile.
    const std::lock_guard lock(state.mutex);
    if (state.stopping)
        return false;
    state.tasks.push_back(std::move(task));
    state.wake.notify_one();
    return true;
}

void BeaconSerialQueue::sync(const Task& task)
{
    if (isCurrent()) {
        task();
        return;
    }
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    const bool queued = post([&task, &done] {
        try {
            task();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    if (queued)
        finished.get();
}

bool BeaconSerialQueue::isCurrent() const
{
    // workerId is written once, before any other thread can see this queue.
    return std::this_thread::get_id() == m_state->workerId;
}

void BeaconSerialQueue::flushForTesting()
{
    sync([] {});
}

void BeaconSerialQueue::runWorker(const std::shared_ptr<State>& state)
{
    for (;;) {
        Task task;
        {
            std::unique_lock lock(state->mutex);
            state->wake.wait(lock, [&] { return state->stopping || !state->tasks.empty(); });
            if (state->tasks.empty())
                return;
            task = std::move(state->tasks.front());
            state->tasks.pop_front();
        }
        try {
            task();
        } catch (const std::exception& error) {
            debugLog("Task on queue " + state->label + " failed: " + error.what());
        } catch (...) {
            debugLog("Task on queue " + state->label + " failed with an unknown error");
        }
    }
}

} // namespace beacon
