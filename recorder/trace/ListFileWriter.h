#pragma once

#include "CWriteBehind.h"
#include "ListFile.h"

// Qt
#include <QByteArray>
#include <QString>

#include <cstring>
#include <memory>

class CDurableFile;

// Writes one list file (.tvs, .tvh) item by item: four blanks, at most 254 characters of the
// item, CR LF. The file grows under a temporary name while a recording runs, so that a stop
// only adds the last lines and puts it in place; until then a list of the same name stays as it
// was. Full buffers are written behind, on a thread of their own.
class ListFileWriter
{
public:
    ListFileWriter();
    ~ListFileWriter();

    // Creates the file under a temporary name beside path; false after the message "File
    // konnte nicht geöffnet werden" with the file and the reason.
    bool Open(const QString& path);
    bool IsOpen() const { return m_file != nullptr; }
    QString Path() const { return m_path; }
    qint64 Count() const { return m_count; }

    void Add(const QByteArray& item)
    {
        AddRendered([&item](QByteArray& out) { out.append(item); });
    }
    // One item whose text render appends to its argument (at most 254 characters kept).
    template <class Render> void AddRendered(Render render)
    {
        if (m_buffer.capacity() < FlushBytes + 1024)
            m_buffer.reserve(FlushBytes + 1024);
        const qsizetype begin = m_buffer.size();
        m_buffer.resize(begin + 4);
        std::memset(m_buffer.data() + begin, ' ', 4);
        render(m_buffer);
        if (m_buffer.size() - begin - 4 > ListFile::ItemChars)
            m_buffer.resize(begin + 4 + ListFile::ItemChars);
        const qsizetype end = m_buffer.size();
        m_buffer.resize(end + 2);
        m_buffer.data()[end] = '\r';
        m_buffer.data()[end + 1] = '\n';
        ++m_count;
        if (m_buffer.size() >= FlushBytes)
            Flush();
    }
    // Writes what is buffered and puts the file in place; false after the message.
    bool Finish();
    // Drops the temporary file; a list of the same name stays.
    void Cancel();

private:
    enum { FlushBytes = 1 << 20 };
    void Flush();

    CWriteBehind m_behind;
    std::unique_ptr<CDurableFile> m_file;
    QString m_path;
    QByteArray m_buffer;
    qint64 m_count = 0;
};
