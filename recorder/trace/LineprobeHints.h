#pragma once

// The notifications between Lineprobe's windows through CDocument::UpdateAllViews. The
// recording reaches the views through the recording session, the monitor through signals;
// what is left between the windows is the selection coupling of the two trace views.
enum LineprobeHint : long {
    HintSelect = 3, // int item index: the other list view selects it
};
