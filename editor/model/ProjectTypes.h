#pragma once

// Names for the panel maker codes of a project (ProjectData::panelType) and for the cells of
// a list row, so that the model, the link and the tests do not spell them as bare numbers.

namespace PanelType {
enum : int {
    Alarmcom = 0,     // "AC"
    Aritech = 1,      // "AT"
    Bosch = 2,        // "BO"
    EffEff = 3,       // "EE"
    Esser = 4,        // "EF"
    Minimax = 5,      // "MM"
    Notifier = 6,     // "NF"
    Siemens = 7,      // "SI"
    TotalWalther = 8, // "TW"
    None = 10         // a project whose texts still come from the FAT
};
} // namespace PanelType

// The six cells of a row of the record list, in the list control's column order.
namespace Column {
enum : int { Tag = 0, Group = 1, PseudoGroup = 2, Detector = 3, Text1 = 4, Text2 = 5 };
} // namespace Column
