#pragma once

#include "CHelpBrowser.h"

// Lineprobe's own help window: the pages in share/korvalin/help/lineprobe.
class CLineprobeHelp : public CHelpBrowser
{
public:
    explicit CLineprobeHelp(QWidget* parent = nullptr)
        : CHelpBrowser(QStringLiteral("Lineprobe"), QStringLiteral("lineprobe"), parent)
    {
        setObjectName(QStringLiteral("CLineprobeHelp"));
    }

    // The folder of Lineprobe's help pages; empty when none is found.
    static QString HelpDirectory()
    {
        return CHelpBrowser::HelpDirectory(QStringLiteral("lineprobe"));
    }
};
