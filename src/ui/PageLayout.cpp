#include "ui/PageLayout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace gw::ui {

int twips(int value) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(value / 15.0 * (dpi > 96.0 ? dpi / 96.0 : 1.0));
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return label;
}

void GrowToFitText(QWidget* page) {
    QList<QLabel*> labels = page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    std::sort(labels.begin(), labels.end(),
              [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
    const QList<QWidget*> children = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        if (!label->wordWrap())
            continue;
        const int extra = label->heightForWidth(label->width()) - label->height();
        if (extra <= 0)
            continue;
        const QRect old = label->geometry();
        label->resize(old.width(), old.height() + extra);
        for (QWidget* other : children) {
            const QRect g = other->geometry();
            const bool sameColumn = g.left() <= old.right() && g.right() >= old.left();
            if (other != label && sameColumn && g.top() > old.bottom())
                other->move(g.left(), g.top() + extra);
        }
    }
    int bottom = page->minimumHeight();
    for (QWidget* child : children) {
        if (auto* frame = qobject_cast<QFrame*>(child);
            frame && frame->frameShape() == QFrame::VLine)
            continue;
        bottom = std::max(bottom, child->y() + child->height() + twips(120));
    }
    for (QWidget* child : children) {
        if (auto* frame = qobject_cast<QFrame*>(child);
            frame && frame->frameShape() == QFrame::VLine)
            frame->resize(frame->width(), bottom);
    }
    page->setMinimumHeight(bottom);
}

}  // namespace gw::ui
