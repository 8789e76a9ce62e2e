// Feeds arbitrary bytes to the CFG reader through the import frame: it must neither crash nor
// read out of bounds, and the rows it inserts must fit the project.
#include "CMessageRecorder.h"
#include "FuzzImportProject.h"
#include "ImportCfg.h"

// Qt
#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMessageRecorder messages;
    CQuillmarkDoc doc;
    const size_t used = MakeFuzzProject(doc, data, size);
    QByteArray bytes(reinterpret_cast<const char*>(data + used), int(size - used));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    PanelImport::ImportFrom(doc, buffer, bytes.size(), PanelImport::ScanCfg, true, ImportHooks());
    CheckFuzzProject(doc);
    return 0;
}
