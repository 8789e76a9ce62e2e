#pragma once

// Qt
#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QTimer;
class QMenu;

// The commands of a program window by their numeric ids: one QAction per id that menus,
// toolbars and context menus share. A feature registers its handler (and its enable rule)
// for an id from its own source; a command without a handler stays disabled. Enable and
// check rules are evaluated before a watched menu opens and whenever the event loop falls
// idle, so toolbar buttons follow too.
class CCommandTable : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;
    using Rule = std::function<bool()>;

    explicit CCommandTable(QObject* parent = nullptr);
    ~CCommandTable() override;

    // Declares a command. text is the menu text with its access key, optionally followed by a
    // tab and the shortcut as shown; prompt is the status-bar text, optionally followed by a
    // line feed and the tool tip. key is the shortcut the action answers to.
    QAction* Add(int id, const QString& text, const QString& prompt,
                 const QKeySequence& key = QKeySequence());
    QAction* Action(int id) const;
    bool Contains(int id) const { return m_commands.contains(id); }
    QList<int> Ids() const;

    // The handler runs when the command is triggered and enabled; rule decides whether it is
    // enabled. Replaces an earlier handler; without a rule, a rule set before stays (none =
    // enabled whenever a handler exists). So a window may own the rule of a command whose
    // handler a feature brings.
    void SetHandler(int id, Handler handler, Rule enabled = Rule());
    void SetEnableRule(int id, Rule enabled);
    // Makes the command checkable; checked follows the rule.
    void SetCheckRule(int id, Rule checked);
    void ClearHandler(int id);
    bool HasHandler(int id) const;

    bool IsEnabled(int id) const;
    // Runs the handler if the command is enabled now; true when it ran.
    bool Execute(int id);

    QString Prompt(int id) const;
    QString ToolTip(int id) const;

    // Applies every enable and check rule to the actions.
    void UpdateUi();
    // Rules are applied before menu shows.
    void WatchMenu(QMenu* menu);
    // Rules are applied whenever the event loop is about to wait, and at least every
    // kIdlePollMs while it is busy with nested loops (on by default).
    void SetIdleUpdates(bool on);
    static constexpr int kIdlePollMs = 250;

signals:
    // After UpdateUi, so a window can refresh its idle-time displays too.
    void idle();
    void executed(int id);

private:
    struct Command
    {
        QAction* action = nullptr;
        Handler handler;
        Rule enabled;
        Rule checked;
        QString prompt;
        QString toolTip;
    };

    QHash<int, Command> m_commands;
    QList<int> m_order;
    bool m_idleUpdates = false;
    QTimer* m_poll = nullptr;
    bool m_updating = false;
};
