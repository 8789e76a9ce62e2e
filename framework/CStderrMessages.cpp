#include "CStderrMessages.h"

// Qt
#include <QTextStream>

#include <cstdio>

int CStderrMessages::Show(const QString& text, const QString& caption, msg::Icon,
                          msg::Buttons buttons)
{
    QString line = caption + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes = line.toUtf8() + '\n';
    if (m_write) {
        m_write(bytes);
    } else {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }
    const bool yes = m_answer == msg::IdYes;
    switch (buttons) {
    case msg::Ok:
        return msg::IdOk;
    case msg::OkCancel:
        return yes ? msg::IdOk : msg::IdCancel;
    case msg::RetryCancel:
        return yes ? msg::IdRetry : msg::IdCancel;
    case msg::YesNo:
    case msg::YesNoCancel:
        return m_answer;
    }
    return msg::IdCancel;
}

bool CStderrMessages::NextFile(QString& path)
{
    if (m_files.isEmpty())
        return false;
    path = m_files.takeFirst();
    return !path.isEmpty();
}

bool CStderrMessages::SaveFileName(const msg::FileDialog&, QString& path)
{
    return NextFile(path);
}

bool CStderrMessages::OpenFileName(const msg::FileDialog&, QString& path)
{
    return NextFile(path);
}
