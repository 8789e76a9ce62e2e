#include "ListFile.h"

#include "CDurableFile.h"
#include "CMessages.h"
#include "CTraceLines.h"
#include "ListFileWriter.h"

// Qt
#include <QFile>

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>

namespace ListFile {

namespace {

void CannotOpen(const QString& why = QString())
{
    MessageBox(QStringLiteral("File konnte nicht geöffnet werden") +
                   (why.isEmpty() ? QString() : QLatin1Char('\n') + why),
               QString(), msg::NoIcon);
}

// Position after the folder part, so that a dot in a folder name is not taken as extension.
int NameStart(const QString& path)
{
    return int(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')))) + 1;
}

} // namespace

bool Write(const QString& path, int count, const std::function<QByteArray(int)>& itemAt)
{
    ListFileWriter file;
    if (!file.Open(path))
        return false;
    for (int i = 0; i < count; ++i)
        file.Add(itemAt(i));
    return file.Finish() && count > 0;
}

namespace {

// Reads the open file line by line into add(data, size, start), start being where the line
// stands in the file (every line is a run of the file's bytes). The line buffer is a plain
// array, so a file of a million lines costs little more than reading it. Returns the system's
// error number of a failed read, else 0.
template <class Add> int ReadLines(QFile& file, bool asciiView, Add add)
{
    const qsizetype maxLine = asciiView ? AsciiLineMax : HexLineMax;
    enum State { Normal, AfterEnd, AfterEndCr } state = Normal;
    // A full line is cut only when a byte follows that does not end it, so that a line of
    // exactly the maximum length followed by CR LF stays one item. The buffer holds at most
    // the maximum and one CR.
    char line[HexLineMax + 2];
    qsizetype n = 0;
    qint64 start = 0;   // of line[0] in the file
    qint64 blockAt = 0; // of the block in the file
    const auto cut = [&] {
        add(line, maxLine, start);
        n -= maxLine;
        start += maxLine;
        if (n > 0)
            line[0] = line[maxLine];
    };
    // c stands at pos in the file.
    const auto append = [&](char c, qint64 pos) {
        if (n > maxLine || (n == maxLine && c != '\r'))
            cut();
        if (n == 0)
            start = pos;
        line[n++] = c;
    };
    enum { BlockBytes = 1 << 20 };
    const std::unique_ptr<char[]> block(new char[BlockBytes]); // filled by each read
    for (;;) {
        blockAt = file.pos();
        errno = 0;
        const qsizetype size = qsizetype(file.read(block.get(), BlockBytes));
        if (size < 0)
            return errno != 0 ? errno : EIO;
        if (size == 0)
            break;
        const char* bytes = block.get();
        for (qsizetype i = 0; i < size; ++i) {
            // The common line, whole in the block and ended by CR LF, goes at once from there.
            while (state == Normal && n == 0 && i < size) {
                const auto* feed =
                    static_cast<const char*>(std::memchr(bytes + i, '\n', size_t(size - i)));
                const qsizetype length = feed ? feed - (bytes + i) : -1;
                if (length < 1 || length - 1 > maxLine || feed[-1] != '\r')
                    break;
                add(bytes + i, length - 1, blockAt + i);
                i += length + 1;
                if (!asciiView || (i < size && bytes[i] != '\r'))
                    continue;
                if (i + 1 < size && bytes[i + 1] == '\n')
                    i += 2; // the line end written after an item that ended in CR LF
                else
                    state = AfterEnd; // decided by the bytes to come
            }
            if (i >= size)
                break;
            const char c = bytes[i];
            if (state == Normal && c != '\r' && c != '\n') {
                // A run of plain bytes is copied at once, cut where the line is full.
                qsizetype end = i + 1;
                while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
                    ++end;
                for (qsizetype k = i; k < end;) {
                    if (n >= maxLine)
                        cut();
                    if (n == 0)
                        start = blockAt + k;
                    const qsizetype m = qMin(end - k, maxLine - n);
                    std::memcpy(line + n, bytes + k, size_t(m));
                    n += m;
                    k += m;
                }
                i = end - 1;
                continue;
            }
            if (state == AfterEndCr) {
                state = Normal;
                if (c == '\n')
                    continue; // the line end written after an item that ended in CR LF
                append('\r', blockAt + i - 1);
            } else if (state == AfterEnd) {
                state = Normal;
                if (c == '\r') {
                    state = AfterEndCr;
                    continue;
                }
                // A new line begins at c: taken again from the top, where the common line
                // goes at once.
                --i;
                continue;
            }
            if (c == '\n' && n > 0 && line[n - 1] == '\r') {
                add(line, n - 1, start);
                n = 0;
                if (asciiView)
                    state = AfterEnd;
                continue;
            }
            append(c, blockAt + i);
        }
    }
    // A line that reached the maximum ended there; shorter rests are dropped.
    if (n >= maxLine)
        add(line, maxLine, start);
    return 0;
}

// The result of a load whose read ended with error (0: none), after its message.
LoadResult Loaded(const QString& path, int error)
{
    if (error == 0)
        return LoadResult::Loaded;
    MessageBox(CDurableFile::ReadFailedText(path, error), QString(), msg::NoIcon);
    return LoadResult::Failed;
}

// Opens path for loading; Failed after the message, Empty for a file without bytes.
LoadResult Open(QFile& file, const QString& path, qint64 maxSize = MaxFileSize)
{
    // A FIFO or a device would hang the open or never end; a list kept in memory stays far
    // below the limit.
    QString why;
    if (path.isEmpty() || !CDurableFile::CheckReadable(path, maxSize, &why) ||
        !file.open(QIODevice::ReadOnly)) {
        CannotOpen(why);
        return LoadResult::Failed;
    }
    if (file.size() == 0 && file.atEnd())
        return LoadResult::Empty;
    return LoadResult::Loaded;
}

} // namespace

LoadResult Load(const QString& path, bool asciiView, const std::function<void()>& clear,
                const std::function<void(const QByteArray&)>& add)
{
    QFile file(path);
    const LoadResult result = Open(file, path);
    if (result != LoadResult::Loaded)
        return result;
    clear();
    return Loaded(path,
                  ReadLines(file, asciiView, [&add](const char* data, qsizetype size, qint64) {
                      add(QByteArray(data, size));
                  }));
}

LoadResult Load(const QString& path, bool asciiView, CTraceLines& lines)
{
    QFile file(path);
    const LoadResult result = Open(file, path);
    if (result != LoadResult::Loaded)
        return result;
    lines.Clear();
    lines.Reserve(file.size() / 16, file.size());
    return Loaded(path,
                  ReadLines(file, asciiView, [&lines](const char* data, qsizetype size, qint64) {
                      lines.Append(data, size);
                  }));
}

LoadResult Index(const QString& path, bool asciiView, const std::function<void()>& clear,
                 const std::function<void(qint64 start, qsizetype size)>& add)
{
    QFile file(path);
    const LoadResult result = OpenToIndex(file, path);
    if (result != LoadResult::Loaded)
        return result;
    clear();
    return Loaded(path, IndexOpen(file, asciiView, [&add](const Span* lines, qsizetype count) {
                      for (qsizetype i = 0; i < count; ++i)
                          add(lines[i].start, lines[i].size);
                  }));
}

LoadResult OpenToIndex(QFile& file, const QString& path)
{
    // The lines stay in the file: only what is not a regular file is refused.
    file.setFileName(path);
    return Open(file, path, std::numeric_limits<qint64>::max());
}

int IndexOpen(QFile& file, bool asciiView, const AddSpans& add)
{
    // The lines go out in batches, so that the index takes them in a loop of its own.
    enum { BatchLines = 1024 };
    Span batch[BatchLines];
    qsizetype count = 0;
    const int error = ReadLines(file, asciiView, [&](const char*, qsizetype size, qint64 start) {
        batch[count++] = {start, size};
        if (count == BatchLines) {
            add(batch, count);
            count = 0;
        }
    });
    if (count > 0)
        add(batch, count);
    return error;
}

QString WithLastButOne(const QString& path, QChar c)
{
    if (path.size() < 2)
        return path;
    QString out = path;
    out[out.size() - 2] = c;
    return out;
}

QString WithLast(const QString& path, QChar c)
{
    if (path.isEmpty())
        return path;
    QString out = path;
    out[out.size() - 1] = c;
    return out;
}

QString WithExtension(const QString& path, const QString& extension)
{
    const int start = NameStart(path);
    const int dot = int(path.lastIndexOf(QLatin1Char('.')));
    const QString base = dot >= start ? path.left(dot) : path;
    return base + QLatin1Char('.') + extension;
}

} // namespace ListFile
