#include "PrintFonts.h"

// Qt
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>

#include <cmath>

namespace PrintFonts {

namespace {

// Faces with the same widths as the ones the layouts were made for.
QStringList Candidates(const QString& face)
{
    if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return {face, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    if (face.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        return {face, QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")};
    return {face};
}

// Metrics objects are cheap to keep and costly to build; pages measure the same few fonts.
const QFontMetricsF& Metrics(const PageFont& font)
{
    static QHash<QString, QFontMetricsF*> cache;
    const QString key = font.family + QLatin1Char('/') + QString::number(font.height);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, new QFontMetricsF(ToQFont(font)));
    return **it;
}

} // namespace

std::optional<PageFont> Create(const QString& face, int height)
{
    for (const QString& family : Candidates(face))
        if (QFontDatabase::hasFamily(family))
            return PageFont{family, height};
    return std::nullopt;
}

PageFont DeviceFont()
{
    return PageFont{QString(), 40};
}

QFont ToQFont(const PageFont& font)
{
    QFont f;
    if (!font.family.isEmpty())
        f.setFamily(font.family);
    // Em heights in page units; the painter's scale turns them into device pixels.
    f.setPixelSize(qMax(1, font.height));
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    // Unhinted outlines measure the same on the screen, a printer and a PDF.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int TextWidth(const PageFont& font, const QString& text)
{
    return int(std::lround(Metrics(font).horizontalAdvance(text)));
}

int TextHeight(const PageFont& font)
{
    return int(std::lround(Metrics(font).height()));
}

qreal Advance(const PageFont& font, QChar c)
{
    return Metrics(font).horizontalAdvance(c);
}

qreal Ascent(const PageFont& font)
{
    return Metrics(font).ascent();
}

} // namespace PrintFonts
