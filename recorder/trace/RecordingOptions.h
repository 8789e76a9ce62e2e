#pragma once

#include "ComParameter.h"
#include "LineRules.h"

// What the user chose for Lineprobe's recordings: the two check marks of the FAT menu, the
// port parameters of expert mode and the line settings of the length rule. The recording
// session owns the one copy; the menus, the recording control, the views and lineprobe-cli
// read it there. Changed only while no recording runs.
struct RecordingOptions
{
    bool saveData = true;         // "&Daten speichern": trace files and list files are written
    bool expertMode = false;      // "&Expertenmodus": the user's port parameters, no "T"
    ComParameter expertParameter; // of expert mode; never stored in the settings
    LineRules::Settings lines;    // "Konfiguration": line length and break byte
};
