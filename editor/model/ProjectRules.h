#pragma once

#include "ProjectData.h"

// Qt
#include <QByteArray>
#include <QString>

// The rules that hang on the panel type and the text format, asked by the commands,
// dialogs, the project file and the transfer.
namespace ProjectRules {

int LineLength(const ProjectData& d);
// "S", "P", "F" for formats 2, 3, 4; empty otherwise.
QByteArray FormatTag(int textFormat);
// "[ Standardeingabe ]" and its offset form, "[ Pseudo Meldergruppe ]", "[ 2x20 Zeichen ]".
QString TitleSuffix(const ProjectData& d);
// Text 1 length of a format (formats other than 2..4 give current).
int Text1LengthFor(const ProjectData& d, int textFormat, int current);

bool LzCodingEnabled(const ProjectData& d);
bool OffsetEnabled(const ProjectData& d);
bool ConvertFormatEnabled(const ProjectData& d);
bool BmfImportEnabled(const ProjectData& d);
bool PanelTextImportEnabled(const ProjectData& d); // only while the port is closed
bool PanelInfoEnabled(const ProjectData& d);
bool EditingEnabled(const ProjectData& d); // insert, delete, send, save, save as
bool LabelEditAllowed(const ProjectData& d);
bool CardGroupsAllowed(const ProjectData& d);
bool OutputCardLists(const ProjectData& d);
bool GroupsAbove9999(const ProjectData& d);
// Width of the group in the project file: 5 for ESSER and MINIMAX (or groupDigits when
// wider), groupDigits otherwise. Only the file has it; the list and the wire never do.
int FileGroupWidth(const ProjectData& d);
int OffsetDigits(const ProjectData& d);
bool GroupHasNoDetectorWarning(const ProjectData& d); // the send warning about detector 00

QString GroupHeader(const ProjectData& d);    // "MelderGruppe" / "Zentrale / Loop"
QString DetectorHeader(const ProjectData& d); // "Melder" / "Adresse"

QString MakerText(int panelType);
QString ModelText(int panelType, int panelVariant);      // "Zentrale: ..." of "&Zentrale"
QString PrintModelText(int panelType, int panelVariant); // the printout's model name

// Decodes the maker letters and model digit as the project file does; false = unknown maker.
bool DecodePanelIdFile(const char* panelId, int& panelType, int& panelVariant);
// The same as the FAT reader applies it (other model digit mapping).
bool DecodePanelIdFat(const char* panelId, int& panelType, int& panelVariant);

// All 255 entries 2, except 12 and 27 (4), 14 and 16 (1), 31 (3); NUL after the table.
void SetDefaultLzAssignment(ProjectData& d);

} // namespace ProjectRules
