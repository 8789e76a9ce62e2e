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
    return d.panelType == PanelType::Bosch;
}

bool OffsetEnabled(const ProjectData& d)
{
    return d.textFormat == FormatStandard;
}

static bool EffEffOutputOrWinmag(const ProjectData& d)
{
    return d.panelType == PanelType::EffEff && (d.panelVariant == 4 || d.panelVariant == 5);
}

static bool AlarmcomWithInputCard(const ProjectData& d)
{
    return d.panelType == PanelType::Alarmcom && d.panelVariant == 1;
}

bool ConvertFormatEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat && !EffEffOutputOrWinmag(d) && !AlarmcomWithInputCard(d) &&
           d.panelType != PanelType::Notifier;
}

bool BmfImportEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat && !EffEffOutputOrWinmag(d) && !AlarmcomWithInputCard(d);
}

bool PanelTextImportEnabled(const ProjectData& d)
{
    return d.panelType == PanelType::Alarmcom || d.panelType == PanelType::TotalWalther ||
           (d.panelType == PanelType::Siemens && d.panelVariant == 1);
}

bool PanelInfoEnabled(const ProjectData& d)
{
    return d.textFormat != FormatFromFat &&
           !(d.panelType == PanelType::Siemens && d.panelVariant == 1);
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
    return d.panelType == PanelType::Minimax;
}

int FileGroupWidth(const ProjectData& d)
{
    // At least 5 for these makers; never narrower than the group itself, so no digit is lost.
    const bool five = d.panelType == PanelType::Esser || d.panelType == PanelType::Minimax;
    return five ? qMax(5, d.groupDigits) : d.groupDigits;
}

int OffsetDigits(const ProjectData& d)
{
    const int t = d.panelType;
    return (t == PanelType::Esser || t == PanelType::Minimax || t == PanelType::Notifier ||
            t > PanelType::TotalWalther)
               ? 5
               : d.groupDigits;
}

bool GroupHasNoDetectorWarning(const ProjectData& d)
{
    return d.panelType != PanelType::TotalWalther;
}

QString GroupHeader(const ProjectData& d)
{
    return d.panelType == PanelType::Notifier ? QStringLiteral("Zentrale / Loop")
                                              : QStringLiteral("MelderGruppe");
}

QString DetectorHeader(const ProjectData& d)
{
    return d.panelType == PanelType::Notifier ? QStringLiteral("Adresse")
                                              : QStringLiteral("Melder");
}

QString MakerText(int panelType)
{
    switch (panelType) {
    case PanelType::Alarmcom:
        return QStringLiteral("Alarmcom");
    case PanelType::Aritech:
        return QStringLiteral("ARITECH");
    case PanelType::Bosch:
        return QStringLiteral("Bosch");
    case PanelType::EffEff:
        return QStringLiteral("eff eff");
    case PanelType::Esser:
        return QStringLiteral("ESSER");
    case PanelType::Minimax:
        return QStringLiteral("MINIMAX");
    case PanelType::Notifier:
        return QStringLiteral("NOTIFIER");
    case PanelType::Siemens:
        return QStringLiteral("Siemens");
    case PanelType::TotalWalther:
        return QStringLiteral("Total Walther");
    }
    return QString();
}

QString PrintModelText(int panelType, int panelVariant)
{
    switch (panelType) {
    case PanelType::Alarmcom:
        return panelVariant == 1 ? QStringLiteral("FC 330A mit Eingangskarte")
                                 : QStringLiteral("FC 330A");
    case PanelType::Aritech:
        return QStringLiteral("Reihe FP 2000");
    case PanelType::Bosch:
        return QStringLiteral("UEZ1000 / UEZ2000 / BZ500 / UGM");
    case PanelType::EffEff:
        if (panelVariant == 4)
            return QStringLiteral("FAT mit Ausgangskarten");
        if (panelVariant == 5)
            return QStringLiteral("WINMAG");
        return QStringLiteral("BMC 1024-F / BMC 1016-F / BMC 664-F");
    case PanelType::Esser:
        return QStringLiteral("ESSER 800x");
    case PanelType::Minimax:
        return QStringLiteral("FMZ 4100");
    case PanelType::Notifier:
        return QStringLiteral("NF 1000");
    case PanelType::Siemens:
        return panelVariant == 1 ? QStringLiteral("AlgoRex 1115")
                                 : QStringLiteral("SIGMASYS C / M");
    case PanelType::TotalWalther:
        return QStringLiteral("FAST 2000");
    }
    return QString();
}

QString ModelText(int panelType, int panelVariant)
{
    switch (panelType) {
    case PanelType::EffEff:
        if (panelVariant == 4 || panelVariant == 5)
            return PrintModelText(panelType, panelVariant);
        return QStringLiteral("Zentralen: BMC 1024-F / BMC 1016-F / BMC 664-F");
    case PanelType::Esser:
        return QStringLiteral("Zentrale: 800x");
    case PanelType::TotalWalther:
        return QStringLiteral("Zentrale: Fast 2000");
    case PanelType::Alarmcom:
    case PanelType::Aritech:
    case PanelType::Bosch:
    case PanelType::Minimax:
    case PanelType::Notifier:
    case PanelType::Siemens:
        return QStringLiteral("Zentrale: ") + PrintModelText(panelType, panelVariant);
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
    const char digit = id[3]; // whatever byte 2 holds
    if (type == PanelType::Alarmcom && digit == '2')
        panelVariant = 1;
    else if (type == PanelType::Siemens && digit == '1')
        panelVariant = 0;
    else if (type == PanelType::Siemens && digit == '2')
        panelVariant = 1;
    else if (type == PanelType::EffEff)
        panelVariant = digit == '4' ? 4 : digit == '5' ? 5 : 1;
    return true;
}

bool DecodePanelIdFat(const char* id, int& panelType, int& panelVariant)
{
    const int type = TypeOfLetters(id);
    if (type < 0)
        return false;
    panelType = type;
    const char digit = id[3]; // whatever byte 2 holds
    if ((type == PanelType::Alarmcom || type == PanelType::Siemens) && digit == '1')
        panelVariant = 0;
    else if ((type == PanelType::Alarmcom || type == PanelType::Siemens) && digit == '2')
        panelVariant = 1;
    else if (type == PanelType::EffEff)
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
