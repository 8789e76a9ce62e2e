#include "ListFile.h"

#include "CMessages.h"

// Qt
#include <QFile>
#include <QSaveFile>

namespace ListFile {

namespace {

void CannotOpen()
{
    MessageBox(QStringLiteral("File konnte nicht geöffnet werden"), QString(), msg::NoIcon);
}

// Position after the folder part, so that a dot in a folder name is not taken as extension.
int NameStart(const QString& path)
{
    return int(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')))) + 1;
}

} // namespace

bool Write(const QString& path, int count, const std::function<QByteArray(int)>& itemAt)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        CannotOpen();
        return false;
    }
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        out += "    ";
        out += itemAt(i).left(ItemChars);
        out += "\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    file.write(out);
    if (!file.commit()) {
        CannotOpen();
        return false;
    }
    return count > 0;
}

LoadResult Load(const QString& path, bool asciiView, const std::function<void()>& clear,
                const std::function<void(const QByteArray&)>& add)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        CannotOpen();
        return LoadResult::Failed;
    }
    if (file.size() == 0 && file.atEnd())
        return LoadResult::Empty;
    clear();

    const int maxLine = asciiView ? AsciiLineMax : HexLineMax;
    enum State { Normal, AfterEnd, AfterEndCr } state = Normal;
    QByteArray line;
    line.reserve(maxLine + 2);
    // A full line is cut only when a byte follows that does not end it, so that a line of
    // exactly the maximum length followed by CR LF stays one item. The buffer holds at
    // most the maximum and one CR.
    const auto append = [&](char c) {
        if (line.size() > maxLine || (line.size() == maxLine && c != '\r')) {
            add(line.left(maxLine));
            line.remove(0, maxLine);
        }
        line.append(c);
    };
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 16);
        if (block.isEmpty())
            break;
        for (const char c : block) {
            if (state == AfterEndCr) {
                state = Normal;
                if (c == '\n')
                    continue; // the line end written after an item that ended in CR LF
                append('\r');
            } else if (state == AfterEnd) {
                state = Normal;
                if (c == '\r') {
                    state = AfterEndCr;
                    continue;
                }
            }
            if (c == '\n' && line.endsWith('\r')) {
                line.chop(1);
                add(line);
                line.clear();
                if (asciiView)
                    state = AfterEnd;
                continue;
            }
            append(c);
        }
    }
    // A line that reached the maximum ended there; shorter rests are dropped.
    if (line.size() >= maxLine)
        add(line.left(maxLine));
    return LoadResult::Loaded;
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
