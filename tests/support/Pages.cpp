#include "support/Pages.h"

#include <QLabel>
#include <QTest>

namespace gw::test {

QWidget* visibleWindow(const char* name) {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}

ErrorPageAnswerer::ErrorPageAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QWidget* page = visibleWindow("ErrorPage");
        if (!page)
            return;
        if (auto* label = page->findChild<QLabel*>(QStringLiteral("messageLabel")))
            message_ = label->text();
        ++answered_;
        QTest::keyClick(page, Qt::Key_Return);
    });
    timer_.start();
}

void closeAllWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget())
            widget->deleteLater();
    }
    settle();
}

}  // namespace gw::test
