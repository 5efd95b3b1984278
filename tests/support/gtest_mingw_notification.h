// GoogleTest needs std::mutex and std::condition_variable only for its
// Notification (used when it starts threads of its own, which these tests
// never do). mingw-w64's default win32 thread model has neither, so the
// Windows test build brings this stand-in, which waits on an atomic flag.
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
