#pragma once

#include <functional>
#include <memory>
#include <string>

namespace beacon {

/// Runs tasks one at a time, in posting order, on a thread of its own.
/// The library has no main run loop: work that must not run on the caller's
/// thread, or must not overlap, goes through one of these.
class BeaconSerialQueue {
public:
    using Task = std::function<void()>;
    struct State;

    /// Starts the worker thread; throws std::system_error when no thread can be made.
    explicit BeaconSerialQueue(std::string label);
    /// Runs what is already queued, then stops. Safe to call from one of the queue's own tasks.
    ~BeaconSerialQueue();

    BeaconSerialQueue(const BeaconSerialQueue&) = delete;
    BeaconSerialQueue& operator=(const BeaconSerialQueue&) = delete;

    const std::string& label() const { return m_label; }

    /// Queues `task` and returns at once; false (and the task dropped) once the queue is being
    /// destroyed. A task that throws is logged and skipped.
    bool post(Task task);

    /// Posts to a queue without keeping it alive. Hand one to code on other threads (network
    /// completions): if such a thread held the last reference, destroying the queue there would
    /// wait for the queue's thread, which may itself be waiting for that thread.
    class Poster {
    public:
        /// As `post`; also false once the queue is gone.
        bool post(Task task) const;

    private:
        friend class BeaconSerialQueue;
        explicit Poster(std::weak_ptr<State> state)
            : m_state(std::move(state))
        { }
        std::weak_ptr<State> m_state;
    };
    Poster poster() const { return Poster(m_state); }
    /// Runs `task` on the queue and waits for it; an exception it throws reaches the caller.
    /// Called from the queue's own thread it runs inline instead of deadlocking; on a queue
    /// being destroyed it returns without running the task.
    void sync(const Task& task);
    /// True on the queue's worker thread.
    bool isCurrent() const;
    /// Waits until every task posted before the call has run.
    void flushForTesting();

private:
    static bool postTo(State& state, Task task);
    static void runWorker(const std::shared_ptr<State>& state);

    std::string m_label;
    std::shared_ptr<State> m_state;
};

} // namespace beacon
