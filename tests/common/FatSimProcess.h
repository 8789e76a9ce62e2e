#pragma once

// Qt
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

// Runs the fatsim executable for one test: a FAT on its own pseudo-terminal, with a byte log
// and a store file in a temporary folder.
class FatSimProcess
{
public:
    struct Entry
    {
        double seconds = 0;
        bool fromFat = false; // '>' FAT to PC, '<' PC to FAT
        unsigned char byte = 0;
    };

    explicit FatSimProcess(const QString& program) : m_program(program) {}
    ~FatSimProcess() { Stop(); }

    QString StorePath() const { return m_dir.filePath("store.json"); }
    QString LogPath() const { return m_dir.filePath("bytes.log"); }
    QString Folder() const { return m_dir.path(); }

    // Starts fatsim with extra options; returns the device path, empty on failure.
    QString Start(const QStringList& options = {})
    {
        QStringList args = {"--store", StorePath(), "--log", LogPath()};
        args += options;
        m_process.start(m_program, args);
        if (!m_process.waitForStarted(10000))
            return QString();
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return QString();
        }
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return m_device;
    }
    QString Device() const { return m_device; }

    // Stops fatsim (it writes its store and log first); returns its exit code.
    int Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitCode();
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
        return m_process.exitCode();
    }
    bool WaitForExit(int ms) { return m_process.waitForFinished(ms); }
    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    QByteArray ErrorOutput() { return m_process.readAllStandardError(); }

    // Every logged byte in order (read after Stop).
    QVector<Entry> Log() const
    {
        QVector<Entry> entries;
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return entries;
        while (!file.atEnd()) {
            const QList<QByteArray> parts = file.readLine().trimmed().split(' ');
            if (parts.size() != 3)
                continue;
            Entry e;
            e.seconds = parts[0].toDouble();
            e.fromFat = parts[1] == ">";
            e.byte = static_cast<unsigned char>(parts[2].toInt(nullptr, 16));
            entries.append(e);
        }
        return entries;
    }
    // The bytes of one direction, in order.
    QByteArray Sent(bool fromFat) const
    {
        QByteArray bytes;
        for (const Entry& e : Log())
            if (e.fromFat == fromFat)
                bytes.append(char(e.byte));
        return bytes;
    }
    QByteArray FromPc() const { return Sent(false); }
    QByteArray FromFat() const { return Sent(true); }

    bool WriteStore(const QByteArray& json)
    {
        QFile file(StorePath());
        return file.open(QIODevice::WriteOnly) && file.write(json) == json.size();
    }

private:
    QString m_program;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};
