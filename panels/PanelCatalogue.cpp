#include "PanelCatalogue.h"

#include <cstring>

namespace PanelCatalogue {

const std::vector<Maker>& Makers()
{
    static const std::vector<Maker> makers = {
        {PanelType::Alarmcom, "AC", "Alarmcom", "Alarmcom", -1},
        {PanelType::Aritech, "AT", "ARITECH", "Aritech", -1},
        {PanelType::Bosch, "BO", "Bosch", "BOSCH", -1},
        {PanelType::EffEff, "EE", "eff eff", "eff eff", 0},
        {PanelType::Esser, "EF", "ESSER", "Esser", -1},
        {PanelType::Minimax, "MM", "MINIMAX", "MINIMAX", -1},
        {PanelType::Notifier, "NF", "NOTIFIER", "NOTIFIER", -1},
        {PanelType::Siemens, "SI", "Siemens", "Siemens", -1},
        {PanelType::TotalWalther, "TW", "Total Walther", "Total Walther", -1},
    };
    return makers;
}

const std::vector<Model>& Models()
{
    using R = LineRule;
    // type, variant, digit; digits of the project file, the FAT, Lineprobe; other variants;
    // "&Zentrale", printout, trace header; panel code, line rule; digits, formats.
    static const std::vector<Model> models = {
        {PanelType::Alarmcom, 0, '1', "", "1", "1", false, "Zentrale: FC 330A", "FC 330A",
         "FC 330A", 10, R::HighBit, 4, 2, "SPF"},
        // Card groups: only the free text form.
        {PanelType::Alarmcom, 1, '2', "2", "2", "2", false, "Zentrale: FC 330A mit Eingangskarte",
         "FC 330A mit Eingangskarte", "FC 330A mit Eingangskarte", 11, R::HighBit, 4, 2, "F"},
        {PanelType::Aritech, 0, '1', "", "", "*", true, "Zentrale: Reihe FP 2000", "Reihe FP 2000",
         "Reihe FP 2000", 9, R::LineFeed, 4, 2, "SPF"},
        {PanelType::Bosch, 0, '1', "", "", "*", true, "Zentrale: UEZ1000 / UEZ2000 / BZ500 / UGM",
         "UEZ1000 / UEZ2000 / BZ500 / UGM", "UEZ 1000/2000, BZ 500 und UGM", 5, R::HighBit, 4, 2,
         "SPF"},
        {PanelType::EffEff, 1, '1', "*", "123", "*", true,
         "Zentralen: BMC 1024-F / BMC 1016-F / BMC 664-F", "BMC 1024-F / BMC 1016-F / BMC 664-F",
         "BMC 1024, BMC 1016, BMC 664", 2, R::HighBitLineFeed, 4, 2, "SPF"},
        // Output card lists.
        {PanelType::EffEff, 4, '4', "4", "4", "4", false, "FAT mit Ausgangskarten",
         "FAT mit Ausgangskarten", "BMC 1024, BMC 1016, BMC 664 mit Ausgangskarte", 3,
         R::HighBitLineFeed, 4, 2, "S"},
        {PanelType::EffEff, 5, '5', "5", "5", "5", false, "WINMAG", "WINMAG", "WINMAG", 4,
         R::HighBitLineFeed, 4, 2, "S"},
        {PanelType::Esser, 0, '1', "", "", "*", true, "Zentrale: 800x", "ESSER 800x", "800x", 14,
         R::HighBit, 4, 2, "SPF"},
        // Groups above 9999.
        {PanelType::Minimax, 0, '1', "", "", "*", true, "Zentrale: FMZ 4100", "FMZ 4100",
         "Minimax Protokoll Nr. 2", 12, R::HighBit, 5, 2, "SPF"},
        // Panel/loop and address.
        {PanelType::Notifier, 0, '1', "", "", "*", true, "Zentrale: NF 1000", "NF 1000", "NF1000",
         13, R::LineFeed, 4, 3, "F"},
        {PanelType::Siemens, 0, '1', "1", "1", "1", false, "Zentrale: SIGMASYS C / M",
         "SIGMASYS C / M", "Sigmasys C/M", 6, R::HighBitLineFeed, 4, 2, "SPF"},
        {PanelType::Siemens, 1, '2', "2", "2", "*", false, "Zentrale: AlgoRex 1115", "AlgoRex 1115",
         "AlgoRex CS1115", 7, R::HighBit, 4, 2, "SPF"},
        {PanelType::TotalWalther, 0, '1', "", "", "*", true, "Zentrale: Fast 2000", "FAST 2000",
         "FAST 2000", 8, R::F0, 4, 2, "SPF"},
    };
    return models;
}

const Maker* MakerOf(const char* id)
{
    for (const Maker& m : Makers())
        if (id[0] == m.letters[0] && id[1] == m.letters[1])
            return &m;
    return nullptr;
}

const Maker* MakerOfType(int panelType)
{
    for (const Maker& m : Makers())
        if (m.panelType == panelType)
            return &m;
    return nullptr;
}

const Model* ModelOf(int panelType, int panelVariant)
{
    const Model* other = nullptr;
    for (const Model& m : Models()) {
        if (m.panelType != panelType)
            continue;
        if (m.panelVariant == panelVariant)
            return &m;
        if (m.otherVariants)
            other = &m;
    }
    return other;
}

static const char* DigitsFor(const Model& m, Reader reader)
{
    switch (reader) {
    case Reader::ProjectFile:
        return m.fileDigits;
    case Reader::Fat:
        return m.fatDigits;
    case Reader::Trace:
        break;
    }
    return m.traceDigits;
}

const Model* Select(Reader reader, int panelType, char digit)
{
    const Model* other = nullptr;
    for (const Model& m : Models()) {
        if (m.panelType != panelType)
            continue;
        const char* digits = DigitsFor(m, reader);
        if (digits[0] == '*')
            other = &m;
        else if (digit != '\0' && std::strchr(digits, digit))
            return &m;
    }
    return other;
}

LineRule LineRuleOf(int panelCode)
{
    for (const Model& m : Models())
        if (m.panelCode == panelCode)
            return m.lineRule;
    return LineRule::None;
}

} // namespace PanelCatalogue
