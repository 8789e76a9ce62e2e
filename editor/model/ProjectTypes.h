#pragma once

#include "PanelCatalogue.h" // PanelType

// The six cells of a row of the record list, in the list control's column order, so that the
// model, the link and the tests do not spell them as bare numbers.
namespace Column {
enum : int { Tag = 0, Group = 1, PseudoGroup = 2, Detector = 3, Text1 = 4, Text2 = 5 };
} // namespace Column
