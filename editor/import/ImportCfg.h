#pragma once

#include "PanelImport.h"

// The CFG reader: three keyword lines per entry (group, detector, display line).
namespace PanelImport {

bool ScanCfg(QIODevice& device, qint64 length, const ProjectData& d, CProgressSteps& progress,
             const EntrySink& sink);
Outcome ImportCfg(CQuillmarkDoc& doc, const ImportHooks& hooks);

} // namespace PanelImport
