#include "platform/toolkit/TabSize.h"

#include <QString>
#include <QTabBar>
#include <QTabWidget>

void SetTabSize(QTabWidget& pages, int width, int height)
{
    // On the tab bar alone: a style sheet reaches every child of the widget it is set on.
    pages.tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { width: %1px; height: %2px; padding: 0px; }")
            .arg(width)
            .arg(height));
}
