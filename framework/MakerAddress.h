#pragma once

// Qt
#include <QString>

// The maker's postal address with telephone and fax numbers, as both programs print it at
// the foot of their pages.
inline QString MakerAddressLine()
{
    return QStringLiteral("Korvalin GmbH \u00B7 Werkstra\u00DFe 14 \u00B7 34117 Kassel \u00B7 "
                          "Telefon 0561 70 94 30 \u00B7 Telefax 0561 70 94 39");
}
