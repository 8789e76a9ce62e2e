#include "TextFormats.h"

#include "ProjectRules.h"
#include "ProjectTypes.h"

namespace TextFormats {

const std::array<Format, 3>& All()
{
    static const std::array<Format, 3> formats = {{
        {FormatStandard, 'S', 0x88, false, "Standardeingabe", "Standardeingabe",
         "[ Standardeingabe ]", "Standardeingabe", "Standardeingabe", Format::GroupNumber,
         Column::Tag},
        {FormatPseudo, 'P', 0x48, true, "Pseudo Meldergruppe", "Pseudo Meldergruppe",
         "[ Pseudo Meldergruppe ]", "Pseudo-Meldergruppenzuweisung",
         "Pseudo Meldergruppenzuweisung", Format::PseudoGroupNumber, Column::PseudoGroup},
        {FormatTwoLines, 'F', 0x28, false, "2 x 20 Zeichen", "2 x 20 Zeichen freier Text",
         "[ 2x20 Zeichen ]", "2x20 Zeichen", "2 x 20 Zeichen", Format::NoNumbers, Column::Text1},
    }};
    return formats;
}

int Format::Text1Length(const ProjectData& d) const
{
    const int line = ProjectRules::LineLength(d);
    switch (beforeText1) {
    case GroupNumber:
        return line - d.groupDigits - d.detectorDigits - 2;
    case PseudoGroupNumber:
        return line - d.pseudoGroupDigits - d.detectorDigits - 2;
    case NoNumbers:
        break;
    }
    return line;
}

const Format* Of(int textFormat)
{
    for (const Format& f : All())
        if (f.textFormat == textFormat)
            return &f;
    return nullptr;
}

const Format* OfTag(char tag)
{
    for (const Format& f : All())
        if (f.tag == tag)
            return &f;
    return nullptr;
}

const Format* OfTag(const QByteArray& tag)
{
    return tag.size() == 1 ? OfTag(tag[0]) : nullptr;
}

const Format* OfWireType(unsigned char type)
{
    for (const Format& f : All())
        if (type >> 4 == f.wireType >> 4)
            return &f;
    return nullptr;
}

} // namespace TextFormats
