// Feeds arbitrary bytes to the list file loader of both trace views: every line must stay
// within its view's limit, and nothing may crash or read out of bounds.
#include "CMessageRecorder.h"
#include "ListFile.h"

// Qt
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("f.tvs"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    CMessageRecorder messages;
    for (const bool ascii : {true, false}) {
        const int limit = ascii ? ListFile::AsciiLineMax : ListFile::HexLineMax;
        qint64 total = 0;
        ListFile::Load(
            path, ascii, [] {},
            [&](const QByteArray& line) {
                if (line.size() > limit)
                    std::abort();
                total += line.size();
            });
        if (total > qint64(size))
            std::abort();
    }
    return 0;
}
