#pragma once

// Qt
#include <QList>
#include <QString>
#include <QVariant>

class CDocument;

// A window on a document; it learns of changes only through OnUpdate.
class CView
{
public:
    virtual ~CView();

    CDocument* GetDocument() const { return m_document; }
    // hint 0 is the framework's "update everything"; others are the program's own numbers.
    virtual void OnUpdate(CView* sender, long hint, const QVariant& arg) = 0;

private:
    friend class CDocument;
    CDocument* m_document = nullptr;
};

// Document base: path name, modified flag and the notify-all-views mechanism.
class CDocument
{
public:
    virtual ~CDocument();

    void AddView(CView* view);
    void RemoveView(CView* view);
    const QList<CView*>& Views() const { return m_views; }

    // Hands hint and argument synchronously, in view order, to every view but sender.
    void UpdateAllViews(CView* sender, long hint = 0, const QVariant& arg = QVariant());

    const QString& GetPathName() const { return m_pathName; }
    virtual void SetPathName(const QString& path) { m_pathName = path; }
    // The file name without folder, or "Unbenannt" when there is no path.
    QString GetTitle() const;

    // The changed mark; a document with an undo history keeps it there.
    virtual bool IsModified() const { return m_modified; }
    virtual void SetModifiedFlag(bool modified = true) { m_modified = modified; }

private:
    QList<CView*> m_views;
    QString m_pathName;
    bool m_modified = false;
};
