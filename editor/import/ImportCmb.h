#pragma once

#include "PanelImport.h"

// The CMB reader: a header marker, then one line per entry (number, detector, group, a word,
// the display line).
namespace PanelImport {

bool ScanCmb(QIODevice& device, qint64 length, const ProjectData& d, CProgressSteps& progress,
             const EntrySink& sink);
Outcome ImportCmb(CQuillmarkDoc& doc, const ImportHooks& hooks);

} // namespace PanelImport
