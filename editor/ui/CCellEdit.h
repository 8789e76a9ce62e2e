#pragma once

#include "CMaskEdit.h"

#include <functional>

// The in-place edit box of one list cell: a masked field (digits for the number columns, the
// entry dialogs' text rules for the texts) with the column's length limit in the list's
// fixed-pitch font. Tab is swallowed; Up and Down go to the list.
class CCellEdit : public CMaskEdit
{
    Q_OBJECT

public:
    explicit CCellEdit(QWidget* parent = nullptr);

    // Keys that belong to the list while a cell is edited (Up, Down).
    void SetKeyForwarder(std::function<void(int key)> forward) { m_forward = std::move(forward); }
    // True for the keys the box hands to the list instead of handling them.
    static bool IsListKey(int key);
    void ForwardKey(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void(int key)> m_forward;
};
