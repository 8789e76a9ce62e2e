#pragma once

#include <vector>

// Names for the panel maker codes of a Quillmark project (ProjectData::panelType).
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

// The panel makers and models a FAT is adapted to: the letters and model digit of the FAT's
// identification, the names each program shows and prints, Lineprobe's panel code and line
// rule, and the defaults the input assistant offers. Everything that names or decodes a panel
// reads it here.
namespace PanelCatalogue {

// How Lineprobe's trace views cut the received bytes into lines.
enum class LineRule { None, Length, LineFeed, F0, HighBit, HighBitLineFeed };

struct Maker
{
    int panelType;
    char letters[3];       // identification characters 0 and 1
    const char* name;      // Quillmark: "&Zentrale", the input assistant
    const char* traceName; // Lineprobe: trace header and "FAT Anpassung"
    // The variant Quillmark gives a FAT whose model digit no model names; -1 keeps it.
    int fatOtherVariant;
};

// Who reads the model digit (identification character 3). Each reads it its own way.
enum class Reader { ProjectFile, Fat, Trace };

struct Model
{
    int panelType;
    int panelVariant;
    char modelDigit; // the one the input assistant writes for this model
    // The model digits that select this model, per reader: "*" takes every digit that no
    // other model of the maker names; "" none (the reader keeps the variant it has).
    const char* fileDigits;
    const char* fatDigits;
    const char* traceDigits;
    // Whether the model also names the maker's variants that have no model of their own.
    bool otherVariants;
    const char* modelText; // Quillmark's "&Zentrale"
    const char* printText; // Quillmark's printout and the input assistant's list
    const char* traceText; // Lineprobe's trace header
    int panelCode;         // Lineprobe: selects the line rule, 12 and 14 the adaptation bits
    LineRule lineRule;
    // Input assistant: the default digit counts and the record tags ("S", "P", "F") of the
    // text formats the panel's FAT takes.
    int groupDigits;
    int detectorDigits;
    const char* formatTags;
};

const std::vector<Maker>& Makers();
// In the order the input assistant lists them, grouped by maker.
const std::vector<Model>& Models();

// The maker of identification characters 0 and 1, or nullptr.
const Maker* MakerOf(const char* id);
const Maker* MakerOfType(int panelType);
// The model that names a project's panel type and variant, or nullptr.
const Model* ModelOf(int panelType, int panelVariant);
// The model a reader takes for a model digit of the maker, or nullptr.
const Model* Select(Reader reader, int panelType, char digit);
// Lineprobe's line rule of a panel's code; None for a code no panel has.
LineRule LineRuleOf(int panelCode);

} // namespace PanelCatalogue
