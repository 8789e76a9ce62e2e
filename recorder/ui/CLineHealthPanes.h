#pragma once

// Qt
#include <QObject>

#include <array>

class CLineHealth;
class CStatusPane;
class QStatusBar;

// The line's health in Lineprobe's status bar: bytes received, the rate, the time since the
// last byte and the four error counts. An error count that goes up turns its pane red until
// the pane is clicked.
class CLineHealthPanes : public QObject
{
    Q_OBJECT

public:
    CLineHealthPanes(CLineHealth& health, QStatusBar* bar);

    // Pane i: 0 bytes, 1 rate, 2 since the last byte, 3 + CommErrorKind the error counts.
    enum { Panes = 7 };
    CStatusPane* Pane(int i) const { return m_panes[size_t(i)]; }
    // The error count of kind went up since its pane was last clicked.
    bool IsAlarmed(int kind) const;

private:
    void Show();
    void GiveWay(QStatusBar* bar, const QString& prompt);

    CLineHealth& m_health;
    std::array<CStatusPane*, Panes> m_panes{};
    std::array<unsigned, 4> m_seen{}; // the counts at the last click
};
