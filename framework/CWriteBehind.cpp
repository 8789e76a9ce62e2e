#include "CWriteBehind.h"

#include "CDurableFile.h"

CWriteBehind::CWriteBehind(qsizetype limit) : m_limit(limit) {}

CWriteBehind::~CWriteBehind()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CWriteBehind::Write(CDurableFile* file, QByteArray bytes, std::atomic<qint64>* done)
{
    if (bytes.isEmpty())
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Run(); });
    // A block larger than the limit still goes when nothing else waits.
    m_changed.wait(lock, [&] { return m_queued == 0 || m_queued + bytes.size() <= m_limit; });
    m_queued += bytes.size();
    m_queue.push_back(Block{file, std::move(bytes), done});
    m_changed.notify_all();
}

void CWriteBehind::Drain()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queued == 0; });
}

QString CWriteBehind::Failure() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failure;
}

void CWriteBehind::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stop || !m_queue.empty(); });
        if (m_queue.empty())
            return; // stopped with nothing left
        Block block = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        // The file writes all or fails with its reason and refuses later blocks.
        const qint64 size = block.bytes.size();
        const bool written = block.file->write(block.bytes) == size;
        if (written && block.done)
            block.done->fetch_add(size, std::memory_order_release);
        QString failure = written ? QString() : block.file->Describe();
        block = Block{};
        lock.lock();
        if (!written && m_failure.isEmpty())
            m_failure = std::move(failure);
        m_queued -= size;
        m_changed.notify_all();
    }
}
