#include "CHelpBrowser.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpBrowser::CHelpBrowser(const QString& program, const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_title(program + QStringLiteral(" - Hilfe")), m_folder(folder)
{
    setWindowTitle(m_title);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);

    auto* contents = new QPushButton(QStringLiteral("&Inhalt"), this);
    auto* back = new QPushButton(QStringLiteral("Zu&rück"), this);
    auto* forward = new QPushButton(QStringLiteral("&Vorwärts"), this);
    auto* closeButton = new QPushButton(QStringLiteral("&Schließen"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this,
            [this] { ShowPage(QStringLiteral("index.html")); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::historyChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? m_title : m_title + QStringLiteral(" - ") + title);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(720, 640);
}

QString CHelpBrowser::HelpDirectory(const QString& folder)
{
    const QDir app(QCoreApplication::applicationDirPath());
    // Installed: <prefix>/bin and <prefix>/share/korvalin/help; built: build/bin and
    // build/share/korvalin/help.
    const QStringList candidates{
        app.filePath(QStringLiteral("../share/korvalin/help/") + folder),
        app.filePath(QStringLiteral("help/") + folder),
    };
    for (const QString& dir : candidates) {
        if (QFileInfo::exists(dir + QStringLiteral("/index.html")))
            return QDir::cleanPath(dir);
    }
    return QString();
}

bool CHelpBrowser::ShowPage(const QString& page)
{
    const QString dir = HelpDirectory(m_folder);
    if (dir.isEmpty())
        return false;
    const int hash = int(page.indexOf(QLatin1Char('#')));
    const QString file = hash < 0 ? page : page.left(hash);
    if (!QFileInfo::exists(dir + QLatin1Char('/') + file))
        return false;
    m_browser->setSearchPaths({dir});
    QUrl url = QUrl::fromLocalFile(dir + QLatin1Char('/') + file);
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    m_browser->setSource(url);
    show();
    raise();
    activateWindow();
    return true;
}
