#pragma once

// The notifications between Lineprobe's windows. Each carries at most one argument in the
// QVariant of CDocument::UpdateAllViews, of the type named here.
enum LineprobeHint : long {
    HintStart = 1,       // none: ASCII view starts recording, hex view empties its list
    HintStop = 2,        // none: ASCII view stops recording
    HintSelect = 3,      // int item index: the other list view selects it
    HintConfigure = 4,   // none: ASCII view opens the configuration
    HintChunk = 5,       // QByteArray received bytes: hex view appends them
    HintIdentDialog = 6, // none: ASCII view shows the identification dialog
    HintPanelCode = 7,   // int panel code: hex view stores it
    HintTextLine = 8,    // QByteArray one text line: hex view appends it unchanged
    HintModem = 9,       // int: status word to the monitor, or 0..3 (RTS/DTR) to the ASCII view
    HintErrorText = 10,  // QByteArray text: hex view appends it and an empty line
    HintWriteList = 11,  // QString path: the other list view writes its list there
    HintLoadList = 12,   // none: the other list view loads its own file
};
