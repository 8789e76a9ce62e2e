#pragma once

#include "ProjectTypes.h"

#include <cstddef>
#include <cstdint>

// The settings block of one project. Its byte layout is fixed because the input assistant
// fills it through a pointer; every offset is checked below.
struct ProjectData
{
    int32_t textFormat;   // 0 read from projectPath, 1 read from the FAT, 2..4 formats
    int32_t displayChars; // both display lines together
    int32_t maxRecords;
    int32_t detectorDigits;
    int32_t groupDigits; // at most 10
    int32_t pseudoGroupDigits;
    int32_t text1Length;   // derived by SetupListColumns
    int32_t text2Length;   // derived by SetupListColumns
    int32_t panelType;     // maker code, 10 = none
    int32_t panelVariant;  // 0, 1, 4 or 5
    char coverPage[6][41]; // project name, street, town; customer name, street, town
    char projectPath[260];
    char panelId[31];       // maker letters at [0], [1], model digit at [3]
    char groupOffset[22];   // signed decimal text; empty or "0" = no offset
    char lzAssignment[256]; // one byte per LZ number 0..254, then NUL
    uint8_t reserved;
};

static_assert(sizeof(ProjectData) == 856, "ProjectData must stay 856 bytes");
static_assert(offsetof(ProjectData, textFormat) == 0);
static_assert(offsetof(ProjectData, displayChars) == 4);
static_assert(offsetof(ProjectData, maxRecords) == 8);
static_assert(offsetof(ProjectData, detectorDigits) == 12);
static_assert(offsetof(ProjectData, groupDigits) == 16);
static_assert(offsetof(ProjectData, pseudoGroupDigits) == 20);
static_assert(offsetof(ProjectData, text1Length) == 24);
static_assert(offsetof(ProjectData, text2Length) == 28);
static_assert(offsetof(ProjectData, panelType) == 32);
static_assert(offsetof(ProjectData, panelVariant) == 36);
static_assert(offsetof(ProjectData, coverPage) == 40);
static_assert(offsetof(ProjectData, projectPath) == 286);
static_assert(offsetof(ProjectData, panelId) == 546);
static_assert(offsetof(ProjectData, groupOffset) == 577);
static_assert(offsetof(ProjectData, lzAssignment) == 599);
static_assert(offsetof(ProjectData, reserved) == 855);

// Text formats and the panel type of a project whose texts still come from the FAT.
enum TextFormat {
    FormatFromFile = 0,
    FormatFromFat = 1,
    FormatStandard = 2,
    FormatPseudo = 3,
    FormatTwoLines = 4
};
enum { PanelNone = PanelType::None };
