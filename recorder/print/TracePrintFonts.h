#pragma once

#include "PrintFonts.h"

// The four fonts of a trace printout, created once per view. A face that is not installed
// stays empty, and its texts keep the font in use before.
struct TracePrintFonts
{
    std::optional<PageFont> bodyNormal; // "Courier New" 40
    std::optional<PageFont> bodySmall;  // "Courier New" 30
    std::optional<PageFont> footer;     // "Arial" 30: path, date, page number
    std::optional<PageFont> address;    // "Arial" 20

    static TracePrintFonts Create()
    {
        return {PrintFonts::Create(QStringLiteral("Courier New"), 40),
                PrintFonts::Create(QStringLiteral("Courier New"), 30),
                PrintFonts::Create(QStringLiteral("Arial"), 30),
                PrintFonts::Create(QStringLiteral("Arial"), 20)};
    }
};
