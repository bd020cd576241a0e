#include "ui/Navigation.h"

#include "ui/WizardWindow.h"

namespace gw::ui {
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
    if (WizardWindow* window = WizardWindow::existing())
        window->forget(page);
    page->hide();
    page->deleteLater();
}

void showModally(QWidget* view) {
    WizardWindow::adopt(view);
    WizardWindow::existing()->showModally(view);
}

}  // namespace gw::ui
