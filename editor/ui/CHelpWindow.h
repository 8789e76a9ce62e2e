#pragma once

#include "CHelpBrowser.h"

// Quillmark's own help window: the pages in share/korvalin/help/quillmark.
class CHelpWindow : public CHelpBrowser
{
public:
    explicit CHelpWindow(QWidget* parent = nullptr)
        : CHelpBrowser(QStringLiteral("Quillmark"), QStringLiteral("quillmark"), parent)
    {
        setObjectName(QStringLiteral("CHelpWindow"));
    }

    // The folder of Quillmark's help pages; empty when none is found.
    static QString HelpDirectory()
    {
        return CHelpBrowser::HelpDirectory(QStringLiteral("quillmark"));
    }
};
