#pragma once

// Qt
#include <QLabel>

#include <functional>

// A status bar pane as wide as the longest text it may show, that can be set off in red and
// tells of a click.
class CStatusPane : public QLabel
{
public:
    CStatusPane(const QString& longest, QWidget* parent);

    void SetAlarm(bool alarm);
    bool IsAlarm() const { return m_alarm; }
    void OnClick(std::function<void()> handler) { m_onClick = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_alarm = false;
    std::function<void()> m_onClick;
};
