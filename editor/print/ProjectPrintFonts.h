#pragma once

#include "PrintFonts.h"

// The four fonts of the project printout, created once per view on its first print job. A
// face that is not installed stays empty, and its texts keep the font in use before.
struct ProjectPrintFonts
{
    std::optional<PageFont> courier40;
    std::optional<PageFont> arial70;
    std::optional<PageFont> arial30;
    std::optional<PageFont> arial20;

    static ProjectPrintFonts Create()
    {
        return {PrintFonts::Create(QStringLiteral("Courier New"), 40),
                PrintFonts::Create(QStringLiteral("Arial"), 70),
                PrintFonts::Create(QStringLiteral("Arial"), 30),
                PrintFonts::Create(QStringLiteral("Arial"), 20)};
    }
};
