#include "ImportCmb.h"

#include "CByteReader.h"
#include "ImportHooks.h"
#include "ProjectData.h"

namespace PanelImport {

namespace {

enum State { Marker, LineStart, Detector, Group, BeforeWord, Word, BeforeText, Text, Stopped };

bool IsDigit(unsigned char b)
{
    return b >= '0' && b <= '9';
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
    QByteArray group, detector, line;
    unsigned char b;
    while (state != Stopped && reader.Get(b)) {
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
            QByteArray& number = state == Detector ? detector : group;
            if (IsDigit(b)) {
                hadDigit = true;
                if (number.size() < (state == Detector ? detectorLimit : groupLimit))
                    number.append(char(b));
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
                line = QByteArray(1, char(b));
                lineBytes = 1;
                state = Text;
            }
            break;
        case Text:
            if (b == '\r' || b == '\n') {
                // The byte before the line end is not part of the text.
                sink(group, detector, line.left(int(qMin<qint64>(lineBytes - 1, lineLimit - 1))));
                reader.Skip(1);
                state = LineStart;
            } else {
                if (line.size() < lineLimit)
                    line.append(char(b));
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
