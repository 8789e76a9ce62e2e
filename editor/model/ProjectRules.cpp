#include "ProjectRules.h"

#include "PanelCatalogue.h"
#include "TextFormats.h"

#include <cstring>

namespace ProjectRules {

int LineLength(const ProjectData& d)
{
    return d.displayChars / 2;
}

QByteArray FormatTag(int textFormat)
{
    const TextFormats::Format* format = TextFormats::Of(textFormat);
    return format ? format->Tag() : QByteArray();
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
    const TextFormats::Format* format = TextFormats::Of(d.textFormat);
    if (!format)
        return QString();
    if (OffsetEnabled(d) && HasOffset(d))
        return QStringLiteral("[ ") + QString::fromLatin1(format->name) +
               QStringLiteral(" mit einem Offset von ") +
               QString::fromLatin1(d.groupOffset,
                                   int(qstrnlen(d.groupOffset, sizeof d.groupOffset))) +
               QStringLiteral(" ]");
    return QString::fromLatin1(format->titleSuffix);
}

int Text1LengthFor(const ProjectData& d, int textFormat, int current)
{
    const TextFormats::Format* format = TextFormats::Of(textFormat);
    return format ? format->Text1Length(d) : current;
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
    const PanelCatalogue::Maker* maker = PanelCatalogue::MakerOfType(panelType);
    return maker ? QString::fromLatin1(maker->name) : QString();
}

QString PrintModelText(int panelType, int panelVariant)
{
    const PanelCatalogue::Model* model = PanelCatalogue::ModelOf(panelType, panelVariant);
    return model ? QString::fromLatin1(model->printText) : QString();
}

QString ModelText(int panelType, int panelVariant)
{
    const PanelCatalogue::Model* model = PanelCatalogue::ModelOf(panelType, panelVariant);
    return model ? QString::fromLatin1(model->modelText) : QString();
}

// The maker of the letters and the variant the reader takes for the model digit (byte 3,
// whatever byte 2 holds).
static bool DecodePanelId(PanelCatalogue::Reader reader, const char* id, int& panelType,
                          int& panelVariant)
{
    const PanelCatalogue::Maker* maker = PanelCatalogue::MakerOf(id);
    if (!maker)
        return false;
    const bool sameMaker = panelType == maker->panelType;
    panelType = maker->panelType;
    if (const PanelCatalogue::Model* model = PanelCatalogue::Select(reader, panelType, id[3]))
        panelVariant = model->panelVariant;
    else if (reader == PanelCatalogue::Reader::Fat && maker->fatOtherVariant >= 0)
        panelVariant = maker->fatOtherVariant;
    else if (reader == PanelCatalogue::Reader::Fat && !sameMaker)
        panelVariant = 0; // the kept variant belonged to another maker's model
    return true;
}

bool DecodePanelIdFile(const char* id, int& panelType, int& panelVariant)
{
    return DecodePanelId(PanelCatalogue::Reader::ProjectFile, id, panelType, panelVariant);
}

bool DecodePanelIdFat(const char* id, int& panelType, int& panelVariant)
{
    return DecodePanelId(PanelCatalogue::Reader::Fat, id, panelType, panelVariant);
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
