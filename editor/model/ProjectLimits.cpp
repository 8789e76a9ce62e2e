#include "ProjectLimits.h"

#include "ProjectRules.h"

namespace ProjectLimits {

QString Check(const ProjectData& d)
{
    // %1 is the value found, %2 and %3 the range allowed.
    const struct
    {
        const char* text;
        int value;
        int low;
        int high;
    } ranges[] = {
        {"Die Meldergruppen haben %1 Stellen; erlaubt sind %2 bis %3.", d.groupDigits, MinDigits,
         MaxGroupDigits},
        {"Die Melder haben %1 Stellen; erlaubt sind %2 bis %3.", d.detectorDigits, MinDigits,
         MaxDetectorDigits},
        {"Die Pseudo-Meldergruppen haben %1 Stellen; erlaubt sind %2 bis %3.", d.pseudoGroupDigits,
         0, MaxPseudoGroupDigits},
        {"Die Anzeige hat %1 Zeichen; erlaubt sind %2 bis %3.", d.displayChars, MinDisplayChars,
         MaxDisplayChars},
        {"Das Projekt soll %1 Texte aufnehmen; erlaubt sind %2 bis %3.", d.maxRecords, MinRecords,
         MaxRecords},
    };
    for (const auto& r : ranges)
        if (r.value < r.low || r.value > r.high)
            return QString::fromUtf8(r.text).arg(r.value).arg(r.low).arg(r.high);

    if (d.textFormat >= FormatStandard && d.textFormat <= FormatTwoLines) {
        const int text1 = ProjectRules::Text1LengthFor(d, d.textFormat, 0);
        if (text1 < 0)
            return QStringLiteral("Die Anzeige mit %1 Zeichen ist zu klein für die Nummern "
                                  "vor Text 1.")
                .arg(d.displayChars);
    }
    return QString();
}

} // namespace ProjectLimits
