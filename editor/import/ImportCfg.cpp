#include "ImportCfg.h"

#include "CByteReader.h"
#include "ImportHooks.h"
#include "ProjectData.h"

#include <string>

namespace PanelImport {

namespace {

// The three keywords: the letter that starts each and the bytes that must follow it.
struct Keyword
{
    unsigned char letter;
    QByteArray rest;
};

enum State { ExpectKeyword, InNumber, InLine };

bool IsDigit(unsigned char b)
{
    return b >= '0' && b <= '9';
}

// The buffer's bytes without a copy; the sink copies what it keeps.
QByteArray View(const std::string& s)
{
    return QByteArray::fromRawData(s.data(), qsizetype(s.size()));
}

} // namespace

bool ScanCfg(QIODevice& device, qint64 length, const ProjectData& d, CProgressSteps& progress,
             const EntrySink& sink)
{
    const Keyword keywords[3] = {{'M', QByteArrayLiteral("eldergruppe ")},
                                 {'E', QByteArrayLiteral("lementnummer ")},
                                 {'L', QByteArrayLiteral("CD Zeile 2 :  ")}};
    // Digits beyond a field's width and text beyond both lines are dropped anyway; they are
    // not collected, so a long run in a damaged file costs no memory.
    const int groupLimit = qMax(0, d.groupDigits);
    const int detectorLimit = qMax(0, d.detectorDigits);
    const int lineLimit = qMax(0, d.text1Length) + qMax(0, d.text2Length);

    CByteReader reader(device);
    bool incomplete = false;
    int expected = 0; // index into keywords
    State state = ExpectKeyword;
    bool hadDigit = false;
    // Plain buffers that keep their capacity: the scan appends byte by byte.
    std::string group, detector, line;
    unsigned char b;
    for (;;) {
        // Between entries only the expected keyword's letter matters: find it in the block
        // instead of looking at every byte on its own.
        if (state == ExpectKeyword && !reader.SkipTo(keywords[expected].letter))
            break;
        if (!reader.Get(b))
            break;
        const qint64 i = reader.Position() - 1;
        progress.At(i);
        switch (state) {
        case ExpectKeyword: {
            const Keyword& k = keywords[expected];
            if (b != k.letter)
                break;
            const int restSize = int(k.rest.size());
            if (i + restSize >= length) {
                incomplete = true;
                break;
            }
            // Not the keyword: scanning goes on with the byte after the letter.
            if (!reader.StartsWith(k.rest))
                break;
            reader.Skip(restSize);
            if (expected == 2) {
                line.clear();
                state = InLine;
            } else {
                (expected == 0 ? group : detector).clear();
                hadDigit = false;
                state = InNumber;
            }
            break;
        }
        case InNumber: {
            std::string& number = expected == 0 ? group : detector;
            const int limit = expected == 0 ? groupLimit : detectorLimit;
            if (IsDigit(b)) {
                hadDigit = true;
                if (int(number.size()) < limit)
                    number.push_back(char(b));
            } else if (hadDigit) {
                ++expected;
                state = ExpectKeyword;
            }
            break;
        }
        case InLine:
            if (b == '\r' || b == '\n') {
                sink(View(group), View(detector), View(line));
                expected = 0;
                state = ExpectKeyword;
            } else if (int(line.size()) < lineLimit) {
                line.push_back(char(b));
            }
            break;
        }
    }
    progress.At(length - 1);
    return incomplete;
}

Outcome ImportCfg(CQuillmarkDoc& doc, const ImportHooks& hooks)
{
    return ImportFile(doc, QStringLiteral("CFG - Dateien (.cfg) | *.cfg||"), QStringLiteral("cfg"),
                      ScanCfg, true, hooks);
}

} // namespace PanelImport
