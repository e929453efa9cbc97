#include "platform/HelpViewer.h"

#include <QUrl>

HelpViewer::HelpViewer(const QString& helpFile, QWidget* parent) : QTextBrowser(parent), helpFile(helpFile)
{
    setWindowTitle(QStringLiteral("かざね ヘルプ"));
    setOpenExternalLinks(false);
    resize(640, 560);
}

void HelpViewer::showTopic(int topic)
{
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(QStringLiteral("topic%1").arg(topic));
    setSource(url);
    scrollToAnchor(QStringLiteral("topic%1").arg(topic));
    show();
    raise();
    activateWindow();
}
