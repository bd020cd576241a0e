#include "ui/WizardView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <utility>

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

// The notes under a message are read with it: a screen reader that speaks the message on
// arrival would otherwise never come to them.
QString WizardView::description() const {
    for (const char* name : {"instructionLabel", "messageLabel", "introductionLabel"}) {
        auto* label = findChild<QLabel*>(QString::fromLatin1(name));
        if (!label)
            continue;
        auto* notes = findChild<QLabel*>(QStringLiteral("notesLabel"));
        if (notes && !notes->isHidden() && !notes->text().isEmpty())
            return label->text() + QLatin1Char('\n') + notes->text();
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

void WizardView::growWithView(QWidget* control) {
    growing_.append(control);
}

void WizardView::keepAtFoot(QWidget* control) {
    foot_.append(control);
}

void WizardView::growTaller(int extra) {
    for (QWidget* control : std::as_const(growing_)) {
        if (control)
            control->resize(control->width(), control->height() + extra);
    }
    for (QWidget* control : std::as_const(foot_)) {
        if (control)
            control->move(control->x(), control->y() + extra);
    }
    // Minimum and size together, so the resize finds no extra room of its own to share out.
    setMinimumHeight(minimumHeight() + extra);
    resize(width(), height() + extra);
}

// From the size itself, not the event's old size: a view resized while hidden gets a single
// event on show that knows no old size.
void WizardView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QSize extra = (size() - minimumSize()).expandedTo(QSize(0, 0));
    const QSize step = extra - extraApplied_;
    // The row stays centred across the width, as it was when narrower views stood centred.
    const QPoint footStep(extra.width() / 2 - extraApplied_.width() / 2, step.height());
    extraApplied_ = extra;
    for (QWidget* control : std::as_const(growing_)) {
        if (control)
            control->resize(control->size() + step);
    }
    for (QWidget* control : std::as_const(foot_)) {
        if (control)
            control->move(control->pos() + footStep);
    }
}

}  // namespace gw::ui
