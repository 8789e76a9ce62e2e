#pragma once

// Qt
#include <QByteArray>
#include <QString>

#include <functional>

class CTraceLines;
class QFile;

// The list files of the two trace views (.tvs, .tvh): one line per item, four blanks, at
// most 254 characters of the item, CR LF.
namespace ListFile {

enum { ItemChars = 254, AsciiLineMax = 254, HexLineMax = 764 };
// The largest list file read into memory; anything bigger is refused.
const qint64 MaxFileSize = qint64(1) << 31;

// Creates path anew and writes count items; false when the file cannot be created (after
// the message "File konnte nicht geöffnet werden") or when there was no item.
bool Write(const QString& path, int count, const std::function<QByteArray(int)>& itemAt);

enum class LoadResult { Loaded, Empty, Failed };
// Reads path line by line into add (ASCII view: asciiView true). Failed shows the message,
// also after a read that failed part way (the lines before it were added); Empty means the
// file has no bytes and the list keeps its items. clear is called once before the first line
// when the file is not empty.
LoadResult Load(const QString& path, bool asciiView, const std::function<void()>& clear,
                const std::function<void(const QByteArray&)>& add);
// The same into lines, which are emptied first when the file is not empty.
LoadResult Load(const QString& path, bool asciiView, CTraceLines& lines);

// Where a line stands in its file and its length.
struct Span
{
    qint64 start;
    qsizetype size;
};
using AddSpans = std::function<void(const Span* lines, qsizetype count)>;

// The same without reading the lines into memory: add gets where each line stands in the file
// and its length; any size of file is taken.
LoadResult Index(const QString& path, bool asciiView, const std::function<void()>& clear,
                 const std::function<void(qint64 start, qsizetype size)>& add);
// Indexing in two steps, so that two files can be read at once: OpenToIndex opens path into
// file (Failed after the message, on the calling thread); IndexOpen then gives add the lines in
// the order of the file, many at a time, and may run on a thread of its own; it shows no
// message and returns the system's error number of a read that failed part way, else 0.
LoadResult OpenToIndex(QFile& file, const QString& path);
int IndexOpen(QFile& file, bool asciiView, const AddSpans& add);

// The derived paths: last-but-one character "v" (the ASCII list at stop), last character
// replaced by c ("h" or "s").
QString WithLastButOne(const QString& path, QChar c);
QString WithLast(const QString& path, QChar c);
// Directory and base name of path with the given extension (without dot).
QString WithExtension(const QString& path, const QString& extension);

} // namespace ListFile
