#pragma once

// Qt
#include <QString>

#include <array>
#include <functional>

class CQuillmarkDoc;
struct ProjectData;

// "Eingabeformat ändern": converts a project between the three text formats in place, row by
// row. Group and detector numbers stay; tags, pseudo groups and Text 1 change.
namespace FormatConversion {

struct Target
{
    QString label; // the radio button's text in "Textformat ändern"
    int textFormat;
};

// The two formats offered from current, in button order; empty labels for other formats.
std::array<Target, 2> Targets(int currentFormat);
// Whether newFormat is one of the two targets of the project and leaves Text 1 room.
bool CanConvert(const ProjectData& d, int newFormat);

// Converts every row and the settings (offset emptied, Text 1 length, columns), names the
// project "Unbenannt" and marks it changed. Nothing happens when CanConvert is false.
bool Convert(CQuillmarkDoc& doc, int newFormat);

struct Steps
{
    // "Textformat ändern": the chosen format, or 0 when the dialog was cancelled.
    std::function<int(const std::array<Target, 2>& targets)> chooseFormat;
    // After the rows are converted, before the closing message (the window's menus).
    std::function<void()> converted;
    // The caller asked the save question already (before its undo step began).
    bool saveAsked = false;
};

// The whole command: save question, warning, dialog, conversion, closing message. True when
// the project was converted.
bool Run(CQuillmarkDoc& doc, const Steps& steps);

} // namespace FormatConversion
