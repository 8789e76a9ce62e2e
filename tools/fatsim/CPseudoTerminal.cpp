#include "CPseudoTerminal.h"

// Qt
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

CPseudoTerminal::~CPseudoTerminal()
{
    Close();
}

bool CPseudoTerminal::Open(QString& error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(strerror(errno));
        Close();
        return false;
    }
    const char* name = ptsname(m_master);
    if (!name) {
        error = QStringLiteral("no device name for the pseudo-terminal");
        Close();
        return false;
    }
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    termios tio;
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) {
        error = QStringLiteral("cannot open %1: %2").arg(m_path, strerror(errno));
        Close();
        return false;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(m_slave, TCSANOW, &tio);
    if (tcgetattr(m_master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_master, TCSANOW, &tio);
    }
    return true;
}

bool CPseudoTerminal::Link(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        QFile::remove(path);
    else if (info.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    if (!QFile::link(m_path, path)) {
        error = QStringLiteral("cannot link %1 to %2").arg(path, m_path);
        return false;
    }
    m_link = path;
    return true;
}

int CPseudoTerminal::Unread() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}

void CPseudoTerminal::Close()
{
    if (!m_link.isEmpty() && QFileInfo(m_link).isSymLink())
        QFile::remove(m_link);
    m_link.clear();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}
