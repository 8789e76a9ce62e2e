// Feeds arbitrary bytes to the LZ import: every entry must end as one of the five values and
// the table must keep its terminator.
#include "CMessageRecorder.h"
#include "ImportLz.h"
#include "ProjectData.h"

// Qt
#include <QBuffer>

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMessageRecorder messages;
    ProjectData d;
    std::memset(&d, 0x55, sizeof d);
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool read = LzImport::ImportLzFrom(d, buffer);
    if (read != (size > 0))
        std::abort();
    if (read) {
        for (int k = 0; k < 255; ++k)
            if (d.lzAssignment[k] < 0 || d.lzAssignment[k] > 4)
                std::abort();
        if (d.lzAssignment[255] != 0 || d.reserved != 0x55 || d.groupOffset[21] != 0x55)
            std::abort();
    }
    if (messages.Texts().count(
            QStringLiteral("Bei der LZ-Importierung ist ein Fehler aufgetreten !")) > 1)
        std::abort();
    return 0;
}
