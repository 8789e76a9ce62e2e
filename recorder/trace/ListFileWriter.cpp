#include "ListFileWriter.h"

#include "CDurableFile.h"
#include "CMessages.h"
#include "ListFile.h"

namespace {

void CannotOpen(const CDurableFile& file)
{
    MessageBox(QStringLiteral("File konnte nicht geöffnet werden\n") + file.Describe(), QString(),
               msg::NoIcon);
}

} // namespace

ListFileWriter::ListFileWriter() = default;

ListFileWriter::~ListFileWriter()
{
    Cancel();
}

bool ListFileWriter::Open(const QString& path)
{
    Cancel();
    m_path = path;
    m_file = std::make_unique<CDurableFile>(path);
    if (!m_file->open()) {
        CannotOpen(*m_file);
        m_file.reset();
        return false;
    }
    return true;
}

void ListFileWriter::Flush()
{
    // Written behind; a failed write is kept by the file and reported by Finish.
    if (m_file && !m_buffer.isEmpty())
        m_behind.Write(m_file.get(), std::move(m_buffer));
    m_buffer = QByteArray();
}

bool ListFileWriter::Finish()
{
    if (!m_file)
        return false;
    Flush();
    m_behind.Drain();
    const bool ok = m_file->Commit();
    if (!ok)
        CannotOpen(*m_file);
    m_file.reset();
    m_buffer = QByteArray();
    return ok;
}

void ListFileWriter::Cancel()
{
    m_behind.Drain();
    m_file.reset(); // the temporary file goes with it
    m_buffer = QByteArray();
    m_count = 0;
}
