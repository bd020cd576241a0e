#include "app/Navigation.h"

namespace gw::app {
namespace {
constexpr const char* kUnloadedProperty = "gwUnloaded";
}

bool isUnloaded(const QWidget* page) {
    return page->property(kUnloadedProperty).toBool();
}

void unloadPage(QWidget* page) {
    if (!page || isUnloaded(page))
        return;
    page->setProperty(kUnloadedProperty, true);
    page->hide();
    page->deleteLater();
}

}  // namespace gw::app
