#include "CLineHealthPanes.h"

#include "CLineHealth.h"
#include "CStatusPane.h"

// Qt
#include <QStatusBar>
#include <QVariant>

CLineHealthPanes::CLineHealthPanes(CLineHealth& health, QStatusBar* bar)
    : QObject(bar), m_health(health)
{
    static const char* const tips[Panes] = {
        "Seit Beginn der Aufzeichnung empfangene Bytes",
        "Empfangene Bytes je Sekunde in den letzten 5 Sekunden",
        "Zeit seit dem letzten empfangenen Byte",
        "Paritätsfehler, die der Schnittstellentreiber gezählt hat (Klick: gesehen)",
        "Rahmenfehler, die der Schnittstellentreiber gezählt hat (Klick: gesehen)",
        "Überläufe, die der Schnittstellentreiber gezählt hat (Klick: gesehen)",
        "Breaks, die der Schnittstellentreiber gezählt hat (Klick: gesehen)"};
    static const int longest[Panes] = {
        CLineHealth::BytesPane, CLineHealth::RatePane, CLineHealth::SincePane, 0, 1, 2, 3};
    // Bytes, rate and silence first; then the errors in the order technicians name them.
    static const int order[Panes] = {0, 1, 2, 4, 3, 5, 6};
    for (int i : order) {
        auto* pane = new CStatusPane(CLineHealth::LongestText(longest[i]), bar);
        pane->setObjectName(QStringLiteral("healthPane%1").arg(i));
        pane->setToolTip(QString::fromUtf8(tips[i]));
        if (i >= 3) {
            const int kind = i - 3;
            pane->OnClick([this, kind] {
                m_seen[size_t(kind)] = m_health.Errors(kind);
                Show();
            });
        }
        bar->addPermanentWidget(pane);
        m_panes[size_t(i)] = pane;
    }
    connect(&health, &CLineHealth::Changed, this, &CLineHealthPanes::Show);
    connect(bar, &QStatusBar::messageChanged, this,
            [this, bar](const QString& prompt) { GiveWay(bar, prompt); });
    Show();
}

void CLineHealthPanes::GiveWay(QStatusBar* bar, const QString& prompt)
{
    for (CStatusPane* pane : m_panes) {
        if (pane->property("gaveWay").toBool()) {
            pane->setProperty("gaveWay", false);
            pane->show();
        }
    }
    if (prompt.isEmpty())
        return;
    // A menu prompt is drawn left of the permanent panes: the panes on the right make room
    // for it while it is shown, so no prompt is cut. The panes' own widths are what they ask
    // for (a crowded bar squeezes them below that).
    const int spacing = 6;
    auto asked = [](const QWidget* w) { return qMax(w->sizeHint().width(), w->minimumWidth()); };
    int room = bar->width() - 3;
    for (const QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisible())
            room -= asked(w) + spacing;
    }
    const int needed = bar->fontMetrics().horizontalAdvance(prompt) + 8;
    static const int rightToLeft[Panes] = {6, 5, 3, 4, 2, 1, 0};
    for (int i : rightToLeft) {
        if (room >= needed)
            break;
        CStatusPane* pane = m_panes[size_t(i)];
        if (!pane->isVisible())
            continue;
        room += asked(pane) + spacing;
        pane->setProperty("gaveWay", true);
        pane->hide();
    }
}

bool CLineHealthPanes::IsAlarmed(int kind) const
{
    return m_panes[size_t(3 + kind)]->IsAlarm();
}

void CLineHealthPanes::Show()
{
    m_panes[0]->setText(CLineHealth::BytesText(m_health.Bytes()));
    m_panes[1]->setText(CLineHealth::RateText(m_health.Rate()));
    QString since = CLineHealth::SinceText(m_health.SinceLastByte());
    since[0] = since[0].toUpper();
    m_panes[2]->setText(since);
    for (int kind = 0; kind < 4; ++kind) {
        const unsigned count = m_health.Errors(kind);
        // A new recording counts from 0 again: what was seen is forgotten with it.
        if (count < m_seen[size_t(kind)])
            m_seen[size_t(kind)] = 0;
        m_panes[size_t(3 + kind)]->setText(CLineHealth::ErrorText(kind, count));
        m_panes[size_t(3 + kind)]->SetAlarm(count > m_seen[size_t(kind)]);
    }
}
