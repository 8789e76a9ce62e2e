#pragma once

// Qt
#include <QHash>
#include <QKeySequence>
#include <QFontMetrics>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QTimer;
class QMenu;

// The commands of a program window by their numeric ids: one QAction per id that menus,
// toolbars and context menus share. Each feature registers its commands from its own source,
// one class per feature: XCommands(context).Register(table) sets the handler of each of its
// ids together with its enable rule, so every rule has one home. A command without a handler
// stays disabled. Enable and check rules are evaluated before a watched menu opens and
// whenever the event loop falls idle, so toolbar buttons follow too.
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
    // enabled (none = whenever the handler exists). Replaces an earlier handler and its rule.
    void SetHandler(int id, Handler handler, Rule enabled = Rule());
    // Makes the command checkable; checked follows the rule.
    void SetCheckRule(int id, Rule checked);
    void ClearHandler(int id);
    bool HasHandler(int id) const;

    bool IsEnabled(int id) const;
    // Runs the handler if the command is enabled now; true when it ran.
    bool Execute(int id);

    QString Prompt(int id) const;
    QString ToolTip(int id) const;
    // Width of the longest prompt (and of idle) in metrics: the status bar's message pane
    // takes it, so no prompt is cut.
    int LongestPrompt(const QFontMetrics& metrics, const QString& idle) const;

    // Applies every enable and check rule to the actions.
    void UpdateUi();
    // Rules are applied before menu shows.
    void WatchMenu(QMenu* menu);
    // The watched menu that holds the action of id; nullptr when none does.
    QMenu* MenuOf(int id) const;
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
    QList<QPointer<QMenu>> m_menus;
    bool m_idleUpdates = false;
    QTimer* m_poll = nullptr;
    bool m_updating = false;
};
