#pragma once

// Qt
#include <QSocketNotifier>

#include <functional>
#include <memory>

// The ways a recording without a window is told to end, as one call on the event loop's
// thread: Ctrl+C (SIGINT), kill (SIGTERM), the terminal or SSH session going away (SIGHUP) and
// standard output closed by its reader (SIGPIPE; the write then fails with EPIPE instead of
// ending the process). The earlier handlers are restored when the object goes. POSIX only; a
// Windows build replaces this file.
class StopSignals
{
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the signals cannot be received (the tool then refuses to record).
    bool IsValid() const { return m_notifier != nullptr; }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
