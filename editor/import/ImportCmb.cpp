#include "ImportCmb.h"

#include "CByteReader.h"
#include "ImportHooks.h"
#include "ProjectData.h"

#include <string>

namespace PanelImport {

namespace {

enum State { Marker, LineStart, Detector, Group, BeforeWord, Word, BeforeText, Text, Stopped };

bool IsDigit(unsigned char b)
{
    return b >= '0' && b <= '9';
}

// The buffer's first count bytes without a copy; the sink copies what it keeps.
QByteArray View(const std::string& s, qint64 count)
{
    return QByteArray::fromRawData(s.data(), qsizetype(qBound<qint64>(0, count, qint64(s.size()))));
}

} // namespace

bool ScanCmb(QIODevice& device, qint64 length, const ProjectData& d, CProgressSteps& progress,
             const EntrySink& sink)
{
    const int groupLimit = qMax(0, d.groupDigits);
    const int detectorLimit = qMax(0, d.detectorDigits);
    // One byte more than both lines hold: the last byte before the line end is dropped.
    const int lineLimit = qMax(0, d.text1Length) + qMax(0, d.text2Length) + 1;

    CByteReader reader(device);
    State state = Marker;
    bool hadDigit = false;
    qint64 lineBytes = 0;
    // Plain buffers that keep their capacity: the scan appends byte by byte.
    std::string group, detector, line;
    unsigned char b;
    for (;;) {
        if (state == Text) {
            // The text runs to the line end: take it a block at a time.
            const char* data;
            int size;
            while (reader.Span(data, size)) {
                int n = 0;
                while (n < size && data[n] != '\r' && data[n] != '\n')
                    ++n;
                const int room = qBound(0, lineLimit - int(line.size()), n);
                line.append(data, size_t(room));
                lineBytes += n;
                reader.Advance(n);
                if (n < size)
                    break;
            }
        }
        if (state == Stopped || !reader.Get(b))
            break;
        const qint64 i = reader.Position() - 1;
        progress.At(i);
        switch (state) {
        case Marker:
            if (b == '@' && length - i >= 5) {
                const QByteArray word = reader.Peek(4);
                reader.Skip(4);
                if (word == "Text") {
                    reader.Skip(2);
                    state = LineStart;
                }
            }
            break;
        case LineStart:
            if (!IsDigit(b)) {
                state = Stopped;
                break;
            }
            if (reader.Get(b) && IsDigit(b))
                reader.Skip(1);
            detector.clear();
            hadDigit = false;
            state = Detector;
            break;
        case Detector:
        case Group: {
            std::string& number = state == Detector ? detector : group;
            if (IsDigit(b)) {
                hadDigit = true;
                if (int(number.size()) < (state == Detector ? detectorLimit : groupLimit))
                    number.push_back(char(b));
            } else if (hadDigit) {
                hadDigit = false;
                if (state == Detector) {
                    group.clear();
                    state = Group;
                } else {
                    state = BeforeWord;
                }
            }
            break;
        }
        case BeforeWord:
            if (b != ' ')
                state = Word;
            break;
        case Word:
            if (b == ' ')
                state = BeforeText;
            break;
        case BeforeText:
            if (b != ' ') {
                line.assign(1, char(b));
                lineBytes = 1;
                state = Text;
            }
            break;
        case Text:
            if (b == '\r' || b == '\n') {
                // The byte before the line end is not part of the text.
                sink(View(group, qint64(group.size())), View(detector, qint64(detector.size())),
                     View(line, qMin<qint64>(lineBytes - 1, lineLimit - 1)));
                reader.Skip(1);
                state = LineStart;
            } else {
                if (int(line.size()) < lineLimit)
                    line.push_back(char(b));
                ++lineBytes;
            }
            break;
        case Stopped:
            break;
        }
    }
    progress.At(length - 1);
    return false;
}

Outcome ImportCmb(CQuillmarkDoc& doc, const ImportHooks& hooks)
{
    return ImportFile(doc, QStringLiteral("CMB - Dateien (.cmb) | *.cmb||"), QStringLiteral("cmb"),
                      ScanCmb, false, hooks);
}

} // namespace PanelImport
