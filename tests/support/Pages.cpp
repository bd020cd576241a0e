#include "support/Pages.h"

namespace gw::test {

QWidget* visibleWindow(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name)) return widget;
    }
    return nullptr;
}

void closeAllWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget()) widget->deleteLater();
    }
    settle();
}

}  // namespace gw::test
