#pragma once

#include "ProjectData.h"

// Qt
#include <QString>

// What a project may hold: digit counts, display size, text lengths and record limit. The
// project file reader, the FAT identification step and the input assistant all ask these,
// so that a project one of them accepts can be saved, opened and sent by the others.
namespace ProjectLimits {

constexpr int MinDigits = 1;
constexpr int MaxGroupDigits = 10; // more cannot be shown in the list
constexpr int MaxDetectorDigits = 10;
constexpr int MaxPseudoGroupDigits = 10; // 0 allowed: only pseudo projects use them
constexpr int MinDisplayChars = 2;       // one character per line
constexpr int MaxDisplayChars = 80;      // two lines of 40
constexpr int MaxTextLength = MaxDisplayChars / 2;
constexpr int MinRecords = 1;
// The count 0xFFFF on the wire means "no texts", so a FAT holds at most one record less.
constexpr int MaxRecords = 0xFFFE;

// Checks the layout values of d: the digit counts, displayChars, maxRecords and, when
// textFormat is 2, 3 or 4, the Text 1 length that format derives (0 .. MaxTextLength).
// Other formats (not yet known, as while the FAT's identification is read) skip that one.
// Returns an empty string when everything is within the limits, otherwise a German sentence
// naming the first value outside them, for example
// "Die Melder haben 12 Stellen; erlaubt sind 1 bis 10.".
QString Check(const ProjectData& d);

inline bool WithinLimits(const ProjectData& d)
{
    return Check(d).isEmpty();
}

} // namespace ProjectLimits
