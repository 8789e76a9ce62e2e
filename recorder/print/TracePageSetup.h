#pragma once

// The page of a trace printout in 0.1 mm from the top left corner of the printable area,
// filled from the printable width and height.
struct TracePageSetup
{
    enum { LeftMargin = 100, RightMargin = 100, TopMargin = 100, LinePitch = 50 };

    int width = 0;  // printable width W
    int height = 0; // printable height H
    int textWidth = 0;
    int footerCentre = 0; // from the left edge of the printable area
    int rulePosition = 0;
    int pathLine = 0;
    int pageNumberLine = 0;
    int addressLine = 0;
    int linesPerPage = 0;

    static TracePageSetup ForArea(int width, int height)
    {
        TracePageSetup s;
        s.width = width;
        s.height = height;
        s.textWidth = width - LeftMargin - RightMargin;
        s.footerCentre = s.textWidth / 2;
        s.rulePosition = height - 140;
        s.pathLine = height - 120;
        s.pageNumberLine = height - 90;
        s.addressLine = height - 50;
        s.linesPerPage = (height - TopMargin - 170) / LinePitch;
        return s;
    }
};
