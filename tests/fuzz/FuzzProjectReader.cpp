// Feeds arbitrary bytes to the project reader: it must neither crash nor read or write out of
// bounds, and what it loads must write back without trouble.
#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"

// Qt
#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (doc.ReadProject(buffer, bytes.size()))
        (void)doc.ProjectBytes();
    return 0;
}
