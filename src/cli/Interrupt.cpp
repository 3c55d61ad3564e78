#include "cli/Interrupt.h"

#include <csignal>

#include <pthread.h>

namespace nt::cli {

namespace {

sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::thread([this, set] {
        for (;;) {
            int received = 0;
            if (sigwait(&set, &received) != 0 || closing_) return;
            if (interrupted_) {
                // A second Ctrl+C does not wait for the work to notice the first.
                std::signal(received, SIG_DFL);
                pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
                std::raise(received);
            }
            signal_ = received;
            interrupted_ = true;
        }
    });
}

InterruptWatch::~InterruptWatch() {
    closing_ = true;
    pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
}

}  // namespace nt::cli
