#include "CCommandTable.h"

// Qt
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

CCommandTable::CCommandTable(QObject* parent) : QObject(parent)
{
    SetIdleUpdates(true);
}

CCommandTable::~CCommandTable() = default;

QAction* CCommandTable::Add(int id, const QString& text, const QString& prompt,
                            const QKeySequence& key)
{
    Command& command = m_commands[id];
    if (!command.action) {
        command.action = new QAction(this);
        command.action->setData(id);
        m_order.append(id);
        connect(command.action, &QAction::triggered, this, [this, id] { Execute(id); });
    }
    const int lf = int(prompt.indexOf(QLatin1Char('\n')));
    command.prompt = lf < 0 ? prompt : prompt.left(lf);
    command.toolTip = lf < 0 ? QString() : prompt.mid(lf + 1);
    command.action->setText(text);
    command.action->setStatusTip(command.prompt);
    // Without a tool tip of its own, a toolbar button shows the menu text without its key.
    QString tip = command.toolTip;
    if (tip.isEmpty()) {
        tip = text.left(int(text.indexOf(QLatin1Char('\t'))));
        tip.remove(QLatin1Char('&'));
    }
    command.action->setToolTip(tip);
    if (!key.isEmpty())
        command.action->setShortcut(key);
    command.action->setEnabled(false);
    return command.action;
}

QAction* CCommandTable::Action(int id) const
{
    const auto it = m_commands.constFind(id);
    return it == m_commands.constEnd() ? nullptr : it->action;
}

QList<int> CCommandTable::Ids() const
{
    return m_order;
}

void CCommandTable::SetHandler(int id, Handler handler, Rule enabled)
{
    Command& command = m_commands[id];
    command.handler = std::move(handler);
    command.enabled = std::move(enabled);
    if (command.action)
        command.action->setEnabled(IsEnabled(id));
}

void CCommandTable::SetCheckRule(int id, Rule checked)
{
    Command& command = m_commands[id];
    command.checked = std::move(checked);
    if (command.action)
        command.action->setCheckable(bool(command.checked));
}

void CCommandTable::ClearHandler(int id)
{
    const auto it = m_commands.find(id);
    if (it == m_commands.end())
        return;
    it->handler = Handler();
    if (it->action)
        it->action->setEnabled(false);
}

bool CCommandTable::HasHandler(int id) const
{
    const auto it = m_commands.constFind(id);
    return it != m_commands.constEnd() && bool(it->handler);
}

bool CCommandTable::IsEnabled(int id) const
{
    const auto it = m_commands.constFind(id);
    if (it == m_commands.constEnd() || !it->handler)
        return false;
    return !it->enabled || it->enabled();
}

bool CCommandTable::Execute(int id)
{
    if (!IsEnabled(id))
        return false;
    // The handler may replace itself; run a copy.
    const Handler handler = m_commands.value(id).handler;
    handler();
    emit executed(id);
    return true;
}

QString CCommandTable::Prompt(int id) const
{
    return m_commands.value(id).prompt;
}

int CCommandTable::LongestPrompt(const QFontMetrics& metrics, const QString& idle) const
{
    int longest = metrics.horizontalAdvance(idle);
    for (const Command& c : m_commands)
        longest = qMax(longest, metrics.horizontalAdvance(c.prompt));
    return longest;
}

QString CCommandTable::ToolTip(int id) const
{
    return m_commands.value(id).toolTip;
}

void CCommandTable::UpdateUi()
{
    // A rule that opens a message box would re-enter through the idle hook.
    if (m_updating)
        return;
    m_updating = true;
    for (const int id : std::as_const(m_order)) {
        const Command& command = m_commands[id];
        if (!command.action)
            continue;
        const bool enabled = IsEnabled(id);
        if (command.action->isEnabled() != enabled)
            command.action->setEnabled(enabled);
        if (command.checked) {
            const bool checked = command.checked();
            if (command.action->isChecked() != checked)
                command.action->setChecked(checked);
        }
    }
    m_updating = false;
    emit idle();
}

void CCommandTable::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, &CCommandTable::UpdateUi);
    m_menus.append(menu);
}

QMenu* CCommandTable::MenuOf(int id) const
{
    QAction* action = Action(id);
    if (!action)
        return nullptr;
    for (const QPointer<QMenu>& menu : m_menus) {
        if (menu && menu->actions().contains(action))
            return menu;
    }
    return nullptr;
}

void CCommandTable::SetIdleUpdates(bool on)
{
    if (on == m_idleUpdates)
        return;
    m_idleUpdates = on;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    if (!m_poll) {
        m_poll = new QTimer(this);
        m_poll->setInterval(kIdlePollMs);
        connect(m_poll, &QTimer::timeout, this, &CCommandTable::UpdateUi);
    }
    if (on) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &CCommandTable::UpdateUi);
        m_poll->start();
    } else {
        disconnect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                   &CCommandTable::UpdateUi);
        m_poll->stop();
    }
}
