#include "CDocument.h"

// Qt
#include <QFileInfo>

CView::~CView()
{
    if (m_document)
        m_document->RemoveView(this);
}

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_document = nullptr;
}

void CDocument::AddView(CView* view)
{
    if (!view || m_views.contains(view))
        return;
    if (view->m_document)
        view->m_document->RemoveView(view);
    m_views.append(view);
    view->m_document = this;
}

void CDocument::RemoveView(CView* view)
{
    if (m_views.removeOne(view))
        view->m_document = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, const QVariant& arg)
{
    // A copy, so that a view that goes away during the notification does not disturb the loop.
    const QList<CView*> views = m_views;
    for (CView* view : views)
        if (view != sender && m_views.contains(view))
            view->OnUpdate(sender, hint, arg);
}

QString CDocument::GetTitle() const
{
    if (m_pathName.isEmpty())
        return QStringLiteral("Unbenannt");
    return QFileInfo(m_pathName).fileName();
}
