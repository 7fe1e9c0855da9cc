#include "host/cli/SignalWatcher.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {
sigset_t WatchedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    // A closed terminal ends the job like an interrupt, so no temporary file is left behind.
    sigaddset(&set, SIGHUP);
    return set;
}
} // namespace

void CSignalWatcher::Block()
{
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void CSignalWatcher::Unblock()
{
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool CSignalWatcher::Start(std::function<void(int, int)> onSignal)
{
    onSignal_ = std::move(onSignal);
    const sigset_t set = WatchedSignals();
    signalFd_ = signalfd(-1, &set, SFD_CLOEXEC);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (signalFd_ < 0 || stopFd_ < 0) {
        Stop();
        return false;
    }
    thread_ = std::thread([this] { Watch(); });
    return true;
}

void CSignalWatcher::Watch()
{
    int count = 0;
    for (;;) {
        pollfd fds[2] = {{signalFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        signalfd_siginfo info;
        if (read(signalFd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
            onSignal_(static_cast<int>(info.ssi_signo), ++count);
    }
}

void CSignalWatcher::Stop()
{
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        // An eventfd write of 8 bytes only fails on overflow, which one write cannot cause.
        [[maybe_unused]] const ssize_t n = write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    if (signalFd_ >= 0)
        close(signalFd_);
    if (stopFd_ >= 0)
        close(stopFd_);
    signalFd_ = stopFd_ = -1;
}

CSignalWatcher::~CSignalWatcher() { Stop(); }
