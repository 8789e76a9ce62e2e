#include "CSimulatorLoop.h"

#include <cerrno>
#include <poll.h>
#include <thread>
#include <unistd.h>

CSimulatorLoop::CSimulatorLoop(const FatSimOptions& options) : m_options(options)
{
    if (options.baudRate > 0) {
        // Ten bits per byte on the wire: start, eight data bits, stop.
        m_byteTime = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(10.0 / options.baudRate));
    }
}

CSimulatorLoop::~CSimulatorLoop()
{
    if (m_log)
        std::fclose(m_log);
}

void CSimulatorLoop::Log(char direction, unsigned char byte, Clock::time_point when)
{
    if (!m_log)
        return;
    const double seconds = std::chrono::duration<double>(when - m_start).count();
    std::fprintf(m_log, "%.6f %c %02X\n", seconds, direction, byte);
}

void CSimulatorLoop::SaveStore()
{
    QString error;
    if (!m_options.storePath.isEmpty() && !m_store.Save(m_options.storePath, error))
        std::fprintf(stderr, "fatsim: %s\n", qPrintable(error));
}

bool CSimulatorLoop::WriteAnswer(const CFatSimulator::Answer& answer, Clock::time_point earliest)
{
    for (const CFatSimulator::Segment& s : answer) {
        if (s.vanish)
            return false;
        if (s.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(s.pauseMs));
        if (m_byteTime == Clock::duration::zero()) {
            const Clock::time_point now = Clock::now();
            int done = 0;
            while (done < s.bytes.size()) {
                const ssize_t n = ::write(m_pty.MasterFd(), s.bytes.constData() + done,
                                          size_t(s.bytes.size() - done));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                done += int(n);
            }
            for (char c : s.bytes)
                Log('>', static_cast<unsigned char>(c), now);
            continue;
        }
        // Paced: each byte leaves when the previous one has crossed the wire.
        Clock::time_point at = std::max({Clock::now(), earliest, m_txFree});
        for (char c : s.bytes) {
            at += m_byteTime;
            std::this_thread::sleep_until(at);
            while (::write(m_pty.MasterFd(), &c, 1) < 0 && errno == EINTR) {
            }
            Log('>', static_cast<unsigned char>(c), at);
        }
        m_txFree = at;
    }
    return true;
}

int CSimulatorLoop::Run(const std::function<void(const QString&)>& ready, QString& error)
{
    if (!m_store.Load(m_options.storePath, error))
        return 1;
    if (!m_options.logPath.isEmpty()) {
        m_log = std::fopen(qPrintable(m_options.logPath), "w");
        if (!m_log) {
            error = QStringLiteral("cannot write %1").arg(m_options.logPath);
            return 1;
        }
    }
    if (!m_pty.Open(error))
        return 1;
    if (!m_options.linkPath.isEmpty() && !m_pty.Link(m_options.linkPath, error))
        return 1;

    CFatSimulator fat(m_options, m_store);
    m_start = Clock::now();
    m_rxFree = m_txFree = m_start;
    Clock::time_point lastByte = m_start;
    const auto idleReset = std::chrono::milliseconds(m_options.idleResetMs);
    ready(m_pty.DevicePath());

    int result = 0;
    unsigned char buffer[4096];
    while (!m_stop) {
        pollfd p{m_pty.MasterFd(), POLLIN, 0};
        const int r = ::poll(&p, 1, 50);
        if (r < 0 && errno != EINTR) {
            error = QStringLiteral("poll failed");
            result = 1;
            break;
        }
        if (r <= 0 || !(p.revents & POLLIN)) {
            if (r > 0 && (p.revents & (POLLHUP | POLLERR)))
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (m_log)
                std::fflush(m_log);
            if (fat.TakeStoreChanged())
                SaveStore();
            continue;
        }
        const ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (now - lastByte > idleReset)
            fat.Reset();
        lastByte = now;
        bool vanished = false;
        for (ssize_t i = 0; i < n && !vanished; ++i) {
            // Paced: a byte is complete one byte time after the previous one was.
            m_rxFree = std::max(m_rxFree, now) + m_byteTime;
            Log('<', buffer[i], now);
            CFatSimulator::Answer answer;
            fat.Receive(buffer[i], answer);
            vanished = !WriteAnswer(answer, m_rxFree);
        }
        if (vanished) {
            result = 3;
            break;
        }
    }
    if (m_log)
        std::fflush(m_log);
    if (fat.TakeStoreChanged())
        SaveStore();
    m_pty.Close();
    return result;
}
