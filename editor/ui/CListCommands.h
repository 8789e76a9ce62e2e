#pragma once

class CCommandTable;
class CQuillmarkView;

// The commands the text list carries out: inserting and deleting texts, the group offset and
// the LZ assignment, the four transfers with the FAT and the port configuration.
class CListCommands
{
public:
    explicit CListCommands(CQuillmarkView& view) : m_view(view) {}

    void Register(CCommandTable& table) const;

private:
    CQuillmarkView& m_view;
};
