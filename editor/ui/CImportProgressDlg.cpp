#include "CImportProgressDlg.h"

// Qt
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <climits>

namespace {

const int kDrawIntervalMs = 30;

} // namespace

CImportProgressDlg::CImportProgressDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Texte importieren"));
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowCloseButtonHint);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_text = new QLabel(QStringLiteral("Die Texte werden importiert"), this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_text);
    setMinimumWidth(360);
}

void CImportProgressDlg::SetText(const QString& text)
{
    m_text->setText(text);
}

QString CImportProgressDlg::Text() const
{
    return m_text->text();
}

void CImportProgressDlg::SetRange(qint64 minimum, qint64 maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    m_scale = 1;
    while ((m_maximum - m_minimum) / m_scale > INT_MAX / 2)
        m_scale *= 2;
    m_progress->setRange(0, int((m_maximum - m_minimum) / m_scale));
}

void CImportProgressDlg::SetPos(qint64 position)
{
    position = qBound(m_minimum, position, m_maximum);
    m_progress->setValue(int((position - m_minimum) / m_scale));
}

int CImportProgressDlg::Pos() const
{
    return m_progress->value();
}

void CImportProgressDlg::Begin(const QString& text, qint64 maximum)
{
    SetText(text);
    SetRange(0, maximum);
    SetPos(0);
    m_repaints = 0;
    m_drawnPixel = -1;
    show();
    raise();
    Draw(true);
}

void CImportProgressDlg::SetPosition(qint64 position)
{
    SetPos(position);
    Draw(false);
}

void CImportProgressDlg::End()
{
    SetPos(m_maximum);
    hide();
}

void CImportProgressDlg::Draw(bool force)
{
    // No event loop runs during an import: draw directly, but not for every step, and only
    // the bar once the window is up.
    if (!force && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kDrawIntervalMs)
        return;
    m_sinceDraw.start();
    if (!isVisible())
        return;
    if (force) {
        repaint();
    } else {
        // A bar that would look the same is not drawn again.
        const int range = qMax(1, m_progress->maximum() - m_progress->minimum());
        const int pixel =
            int(qint64(m_progress->value() - m_progress->minimum()) * m_progress->width() / range);
        if (pixel == m_drawnPixel)
            return;
        m_drawnPixel = pixel;
        m_progress->repaint();
    }
    ++m_repaints;
}
