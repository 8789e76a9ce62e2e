#pragma once

#include "PageLayout.h"

// Qt
#include <QFont>

#include <optional>

// The fonts of printed pages: created from the installed faces, measured in 0.1 mm. Needs a
// QGuiApplication for the font database, nothing of widgets.
namespace PrintFonts {

// The font of face at em height, when the face or its metric twin ("Liberation Sans" for
// "Arial", "Liberation Mono" for "Courier New") is installed; nothing otherwise.
std::optional<PageFont> Create(const QString& face, int height);
// The device's own font, in use until a created font is selected.
PageFont DeviceFont();

QFont ToQFont(const PageFont& font);
// Width of text and height of its cell (ascent and descent), rounded to 0.1 mm.
int TextWidth(const PageFont& font, const QString& text);
int TextHeight(const PageFont& font);
// Exact advance of one character and the ascent, for fixed-pitch arithmetic and painting.
qreal Advance(const PageFont& font, QChar c);
qreal Ascent(const PageFont& font);

} // namespace PrintFonts

// The font a page is drawn with at a given moment: selecting a font that was not created
// keeps the one in use, so its texts come out in the device's current font.
class CSelectedFont
{
public:
    void Select(const std::optional<PageFont>& font)
    {
        if (font)
            m_current = *font;
    }
    const PageFont& Current() const { return m_current; }

private:
    PageFont m_current = PrintFonts::DeviceFont();
};
