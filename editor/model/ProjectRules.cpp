#include "ProjectRules.h"

#include <cstring>

namespace ProjectRules {

int LineLength(const ProjectData& d)
{
    return d.displayChars / 2;
}

QByteArray FormatTag(int textFormat)
{
    switch (textFormat) {
    case FormatStandard:
        return "S";
    case FormatPseudo:
        return "P";
    case FormatTwoLines:
        return "F";
    }
    return QByteArray();
}

QString FormatName(int textFormat)
{
    switch (textFormat) {
    case FormatStandard:
        return QStringLiteral("Standardeingabe");
    case FormatPseudo:
        return QStringLiteral("Pseudo Meldergruppe");
    case FormatTwoLines:
        return QStringLiteral("2 x 20 Zeichen");
    }
    return QString();
}

static bool HasOffset(const ProjectData& d)
{
    const QByteArray text(d.groupOffset, int(qstrnlen(d.groupOffset, sizeof d.groupOffset)));
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value != 0;
}

QString TitleSuffix(const ProjectData& d)
{
    switch (d.textFormat) {
    case FormatStandard:
        if (HasOffset(d))
            return QStringLiteral("[ Standardeingabe mit einem Offset von ") +
                   QString::fromLatin1(d.groupOffset,
                                       int(qstrnlen(d.groupOffset, sizeof d.groupOffset))) +
                   QStringLiteral(" ]");
        return QStringLiteral("[ Standardeingabe ]");
    case FormatPseudo:
        return QStringLiteral("[ Pseudo Meldergruppe ]");
    case FormatTwoLines:
        return QStringLiteral("[ 2x20 Zeichen ]");
    }
    return QString();
}

int Text1LengthFor(const ProjectData& d, int textFormat, int current)
{
    const int line = LineLength(d);
    switch (textFormat) {
    case FormatStandard:
        return line - d.groupDigits - d.detectorDigits - 2;
    case FormatPseudo:
        return line - d.pseudoGroupDigits - d.detectorDigits - 2;
    case FormatTwoLines:
        return line;
    }
    return current;
}

bool LzCodingEnabled(const ProjectData& d)
{
    return d.panelType == 2;
}

bool OffsetEnabled(const ProjectData& d)
{
    return d.textFormat == FormatStandard;
}

static bool EffEffOutputOrWinmag(const ProjectData& d)
{
    return d.panelType == 3 && (d.panelVariant == 4 || d.panelVariant == 5);
}

static bool AlarmcomWithInputCard(const ProjectData& d)
{
    return d.panelType == 0 && d.panelVariant == 1;
}

bool ConvertFormatEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat && !EffEffOutputOrWinmag(d) && !AlarmcomWithInputCard(d) &&
           d.panelType != 6;
}

bool BmfImportEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat && !EffEffOutputOrWinmag(d) && !AlarmcomWithInputCard(d);
}

bool PanelTextImportEnabled(const ProjectData& d)
{
    return d.panelType == 0 || d.panelType == 8 || (d.panelType == 7 && d.panelVariant == 1);
}

bool PanelInfoEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat && !(d.panelType == 7 && d.panelVariant == 1);
}

bool EditingEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat;
}

bool LabelEditAllowed(const ProjectData& d)
{
    return d.panelVariant != 1 && d.panelVariant != 4;
}

bool CardGroupsAllowed(const ProjectData& d)
{
    return d.panelVariant == 1;
}

bool OutputCardLists(const ProjectData& d)
{
    return d.panelVariant == 4;
}

bool GroupsAbove9999(const ProjectData& d)
{
    return d.panelType == 5;
}

int FileGroupWidth(const ProjectData& d)
{
    return (d.panelType == 4 || d.panelType == 5) ? 5 : d.groupDigits;
}

int OffsetDigits(const ProjectData& d)
{
    const int t = d.panelType;
    return (t == 4 || t == 5 || t == 6 || t > 8) ? 5 : d.groupDigits;
}

bool GroupHasNoDetectorWarning(const ProjectData& d)
{
    return d.panelType != 8;
}

QString GroupHeader(const ProjectData& d)
{
    return d.panelType == 6 ? QStringLiteral("Zentrale / Loop") : QStringLiteral("MelderGruppe");
}

QString DetectorHeader(const ProjectData& d)
{
    return d.panelType == 6 ? QStringLiteral("Adresse") : QStringLiteral("Melder");
}

QString MakerText(int panelType)
{
    switch (panelType) {
    case 0:
        return QStringLiteral("Alarmcom");
    case 1:
        return QStringLiteral("ARITECH");
    case 2:
        return QStringLiteral("Bosch");
    case 3:
        return QStringLiteral("eff eff");
    case 4:
        return QStringLiteral("ESSER");
    case 5:
        return QStringLiteral("MINIMAX");
    case 6:
        return QStringLiteral("NOTIFIER");
    case 7:
        return QStringLiteral("Siemens");
    case 8:
        return QStringLiteral("Total Walther");
    }
    return QString();
}

QString PrintModelText(int panelType, int panelVariant)
{
    switch (panelType) {
    case 0:
        if (panelVariant == 0)
            return QStringLiteral("FC 330A");
        return panelVariant == 1 ? QStringLiteral("FC 330A mit Eingangskarte") : QString();
    case 1:
        return QStringLiteral("Reihe FP 2000");
    case 2:
        return QStringLiteral("UEZ1000 / UEZ2000 / BZ500 / UGM");
    case 3:
        if (panelVariant == 4)
            return QStringLiteral("FAT mit Ausgangskarten");
        if (panelVariant == 5)
            return QStringLiteral("WINMAG");
        return QStringLiteral("BMC 1024-F / BMC 1016-F / BMC 664-F");
    case 4:
        return QStringLiteral("ESSER 800x");
    case 5:
        return QStringLiteral("FMZ 4100");
    case 6:
        return QStringLiteral("NF 1000");
    case 7:
        if (panelVariant == 0)
            return QStringLiteral("SIGMASYS C / M");
        return panelVariant == 1 ? QStringLiteral("AlgoRex 1115") : QString();
    case 8:
        return QStringLiteral("FAST 2000");
    }
    return QString();
}

QString ModelText(int panelType, int panelVariant)
{
    switch (panelType) {
    case 3:
        if (panelVariant == 4 || panelVariant == 5)
            return PrintModelText(panelType, panelVariant);
        return QStringLiteral("Zentralen: BMC 1024-F / BMC 1016-F / BMC 664-F");
    case 4:
        return QStringLiteral("Zentrale: 800x");
    case 8:
        return QStringLiteral("Zentrale: Fast 2000");
    case 0:
    case 1:
    case 2:
    case 5:
    case 6:
    case 7: {
        // A variant the panel does not have names no model.
        const QString model = PrintModelText(panelType, panelVariant);
        return model.isEmpty() ? QString() : QStringLiteral("Zentrale: ") + model;
    }
    }
    return QString();
}

static int TypeOfLetters(const char* id)
{
    static const char* const letters[] = {"AC", "AT", "BO", "EE", "EF", "MM", "NF", "SI", "TW"};
    for (int t = 0; t < 9; ++t)
        if (id[0] == letters[t][0] && id[1] == letters[t][1])
            return t;
    return -1;
}

bool DecodePanelIdFile(const char* id, int& panelType, int& panelVariant)
{
    const int type = TypeOfLetters(id);
    if (type < 0)
        return false;
    panelType = type;
    const char digit = id[0] && id[1] && id[2] ? id[3] : '\0';
    if (type == 0 && digit == '2')
        panelVariant = 1;
    else if (type == 7 && digit == '1')
        panelVariant = 0;
    else if (type == 7 && digit == '2')
        panelVariant = 1;
    else if (type == 3)
        panelVariant = digit == '4' ? 4 : digit == '5' ? 5 : 1;
    return true;
}

bool DecodePanelIdFat(const char* id, int& panelType, int& panelVariant)
{
    const int type = TypeOfLetters(id);
    if (type < 0)
        return false;
    panelType = type;
    const char digit = id[0] && id[1] && id[2] ? id[3] : '\0';
    if ((type == 0 || type == 7) && digit == '1')
        panelVariant = 0;
    else if ((type == 0 || type == 7) && digit == '2')
        panelVariant = 1;
    else if (type == 3)
        panelVariant = (digit >= '1' && digit <= '3') ? 1 : digit == '4' ? 4 : digit == '5' ? 5 : 0;
    return true;
}

void SetDefaultLzAssignment(ProjectData& d)
{
    std::memset(d.lzAssignment, 2, 255);
    d.lzAssignment[12] = 4;
    d.lzAssignment[27] = 4;
    d.lzAssignment[14] = 1;
    d.lzAssignment[16] = 1;
    d.lzAssignment[31] = 3;
    d.lzAssignment[255] = 0;
}

} // namespace ProjectRules
