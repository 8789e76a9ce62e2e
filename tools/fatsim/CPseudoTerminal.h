#pragma once

// Qt
#include <QString>

// The master side of a new pseudo-terminal in raw mode. The slave side is held open as well,
// so that reads do not fail between the other program's sessions and a port that restores
// its settings on close restores raw mode.
class CPseudoTerminal
{
public:
    CPseudoTerminal() = default;
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool Open(QString& error);
    // Points a symbolic link at the device (replacing an old link); removed by Close.
    bool Link(const QString& path, QString& error);
    void Close();

    int MasterFd() const { return m_master; }
    // Bytes written to the master that the other program has not read yet.
    int Unread() const;
    QString DevicePath() const { return m_path; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_link;
};
