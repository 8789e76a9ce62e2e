#pragma once

#include "ImportHooks.h"
#include "MessageRecord.h"

// Qt
#include <QIODevice>

#include <functional>

class CQuillmarkDoc;
class CProgressSteps;
struct ProjectData;

// "Zentralentexte übernehmen": the texts of a panel's own programming, from the CFG export of
// Alarmcom and Siemens AlgoRex panels or the CMB export of Total Walther panels. The project
// keeps its text format, digits and lengths; they decide how the values found are cut.
namespace PanelImport {

enum Reader { NoReader, CfgReader, CmbReader };
// Which reader the project's panel takes; NoReader where the command does nothing.
Reader ReaderFor(const ProjectData& d);

struct Outcome
{
    bool imported = false;   // the project now holds the file's texts
    bool incomplete = false; // a keyword stood too close to the end, or the project was full
};

// Dispatches by the panel as the command does.
Outcome ImportPanelTexts(CQuillmarkDoc& doc, const ImportHooks& hooks);

// Takes one completed entry: group, detector and the display line as found. The bytes are
// lent for the call only.
using EntrySink = std::function<void(const QByteArray& group, const QByteArray& detector,
                                     const QByteArray& line)>;
// A scanner reads the device to its end, calls sink per entry and returns whether the data
// was incomplete.
using Scanner = std::function<bool(QIODevice& device, qint64 length, const ProjectData& d,
                                   CProgressSteps& progress, const EntrySink& sink)>;

// The common frame after the file is open: empty file check, emptying the project, the
// progress, the scan, the closing messages.
Outcome ImportFrom(CQuillmarkDoc& doc, QIODevice& device, qint64 length, const Scanner& scan,
                   bool reportIncomplete, const ImportHooks& hooks);
// Save question, file dialog and opening, then ImportFrom.
Outcome ImportFile(CQuillmarkDoc& doc, const QString& filter, const QString& defaultExt,
                   const Scanner& scan, bool reportIncomplete, const ImportHooks& hooks);

// The display line split into Text 1 and Text 2 by the project's lengths.
void SplitLine(const QByteArray& line, const ProjectData& d, MessageRecord& rec);

} // namespace PanelImport
