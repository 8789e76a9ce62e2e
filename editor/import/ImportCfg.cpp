#include "ImportCfg.h"

#include "CByteReader.h"
#include "ImportHooks.h"
#include "ProjectData.h"

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
    QByteArray group, detector, line;
    unsigned char b;
    while (reader.Get(b)) {
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
            if (reader.Peek(restSize) != k.rest)
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
            QByteArray& number = expected == 0 ? group : detector;
            const int limit = expected == 0 ? groupLimit : detectorLimit;
            if (IsDigit(b)) {
                hadDigit = true;
                if (number.size() < limit)
                    number.append(char(b));
            } else if (hadDigit) {
                ++expected;
                state = ExpectKeyword;
            }
            break;
        }
        case InLine:
            if (b == '\r' || b == '\n') {
                sink(group, detector, line);
                expected = 0;
                state = ExpectKeyword;
            } else if (line.size() < lineLimit) {
                line.append(char(b));
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
