#pragma once
// Turns SIGINT and SIGTERM into calls on an ordinary thread, so that nothing but the kernel runs
// in signal context. Block must run before any other thread starts, so that every thread
// inherits the blocked signals and only the watcher receives them.
#include <functional>
#include <thread>

class CSignalWatcher {
public:
    // Blocks SIGINT and SIGTERM for the calling thread and those it starts.
    static void Block();
    // Gives SIGINT and SIGTERM back their default effect, for when no watcher can run.
    static void Unblock();

    // Calls onSignal(signal, count) on the watcher's thread for each signal received, count
    // counting from 1. false when the watcher cannot be set up.
    bool Start(std::function<void(int, int)> onSignal);
    // Ends the watcher's thread; also done by the destructor.
    void Stop();
    ~CSignalWatcher();

private:
    void Watch();

    std::function<void(int, int)> onSignal_;
    int signalFd_ = -1;
    int stopFd_ = -1;
    std::thread thread_;
};
