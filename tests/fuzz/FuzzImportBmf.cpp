// Feeds arbitrary bytes to the BMF import as a file's contents: it must neither crash nor read
// out of bounds, and the rows it inserts must fit the project.
#include "CMessageRecorder.h"
#include "FuzzImportProject.h"
#include "ImportBmf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMessageRecorder messages;
    messages.SetDefaultAnswer(msg::IdNo);
    CQuillmarkDoc doc;
    const size_t used = MakeFuzzProject(doc, data, size);
    const uint8_t answer = size > used ? data[used] : 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + used), int(size - used));
    ImportHooks hooks;
    hooks.chooseBmfKind = [answer](int formatBits) {
        // Any answer, also a disabled or unknown kind, must be handled.
        return (answer & 1) ? int(answer % 8) : formatBits & -formatBits;
    };
    BmfImport::ImportBmfData(doc, bytes, hooks);
    CheckFuzzProject(doc);
    return 0;
}
