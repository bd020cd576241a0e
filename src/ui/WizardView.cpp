#include "ui/WizardView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>

#include "ui/WizardWindow.h"

namespace gw::ui {
namespace {

class ViewAccessible : public QAccessibleWidget {
  public:
    explicit ViewAccessible(WizardView* view) : QAccessibleWidget(view, QAccessible::Pane) {}

    QString text(QAccessible::Text kind) const override {
        const auto* view = static_cast<const WizardView*>(widget());
        if (kind == QAccessible::Name)
            return view->heading();
        if (kind == QAccessible::Description)
            return view->description();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* viewAccessible(const QString&, QObject* object) {
    if (auto* view = qobject_cast<WizardView*>(object))
        return new ViewAccessible(view);
    return nullptr;
}

}  // namespace

WizardView::WizardView(const QString& name, const QString& title, QWidget* parent)
    : QDialog(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(viewAccessible);
        return true;
    }();
    (void)accessibleInstalled;
    setObjectName(name);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (parent)
        setWindowFlags(Qt::Widget);
    else
        WizardWindow::adopt(this);
}

QString WizardView::heading() const {
    if (auto* frame = findChild<QGroupBox*>(QStringLiteral("stepFrame")))
        return frame->title();
    if (auto* label = findChild<QLabel*>(QStringLiteral("headingLabel")))
        return label->text();
    return windowTitle();
}

QString WizardView::description() const {
    for (const char* name : {"instructionLabel", "messageLabel", "introductionLabel"}) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
    }
    return {};
}

void WizardView::setVisible(bool visible) {
    QWidget::setVisible(visible);
}

void WizardView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
}

}  // namespace gw::ui
