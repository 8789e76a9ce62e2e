#pragma once

// Qt
#include <QLineEdit>

#include <functional>

// The in-place edit box of one list cell: digits only for the number columns, a length limit
// per column, the list's fixed-pitch font. Tab is swallowed; Up and Down go to the list.
class CCellEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CCellEdit(QWidget* parent = nullptr);

    void SetDigitsOnly(bool on);
    bool DigitsOnly() const { return m_digitsOnly; }
    // Keys that belong to the list while a cell is edited (Up, Down).
    void SetKeyForwarder(std::function<void(int key)> forward) { m_forward = std::move(forward); }
    // True for the keys the box hands to the list instead of handling them.
    static bool IsListKey(int key);
    void ForwardKey(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_digitsOnly = false;
    std::function<void(int key)> m_forward;
};
