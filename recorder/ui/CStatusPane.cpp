#include "CStatusPane.h"

// Qt
#include <QMouseEvent>

CStatusPane::CStatusPane(const QString& longest, QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    // Room for the longest text in the pane's own font, so no figure is ever cut.
    setMinimumWidth(fontMetrics().horizontalAdvance(longest) + 2 * margin() + 8);
}

void CStatusPane::SetAlarm(bool alarm)
{
    if (alarm == m_alarm)
        return;
    m_alarm = alarm;
    setAutoFillBackground(alarm);
    setStyleSheet(alarm ? QStringLiteral("QLabel { background: #d00000; color: white; }")
                        : QString());
}

void CStatusPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_onClick)
        m_onClick();
    QLabel::mousePressEvent(event);
}
