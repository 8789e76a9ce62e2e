#pragma once

#include <cstdint>

// The view's measures of a project printout, in 0.1 mm where they are lengths.
struct PrintMetrics
{
    enum { StandardLinesPerPage = 50 };

    int32_t linesPerPage = 0;  // the view's first update sets the standard
    int32_t offsetX = 0;       // printable area from the paper's left edge, measured per job
    int32_t offsetY = 0;       // printable area from the paper's top edge, measured per job
    int32_t firstListPage = 2; // page 1 is the cover page

    // A count of 0 or less is ignored.
    void SetLinesPerPage(int32_t lines)
    {
        if (lines > 0)
            linesPerPage = lines;
    }
};
