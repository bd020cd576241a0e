#include "ui/Labels.h"

#include <QFrame>
#include <QStringDecoder>

#include <algorithm>

#include "ui/WizardPage.h"

namespace gw::ui {

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
        if (!label->wordWrap()) continue;
        const int extra = label->heightForWidth(label->width()) - label->height();
        if (extra <= 0) continue;
        const QRect old = label->geometry();
        label->resize(old.width(), old.height() + extra);
        for (QWidget* other : children) {
            const QRect g = other->geometry();
            const bool sameColumn = g.left() <= old.right() && g.right() >= old.left();
            if (other != label && sameColumn && g.top() > old.bottom())
                other->move(g.left(), g.top() + extra);
        }
    }
    int bottom = page->height();
    for (QWidget* child : children) {
        if (auto* frame = qobject_cast<QFrame*>(child); frame && frame->frameShape() == QFrame::VLine)
            continue;
        bottom = std::max(bottom, child->geometry().bottom() + twips(120));
    }
    for (QWidget* child : children) {
        if (auto* frame = qobject_cast<QFrame*>(child); frame && frame->frameShape() == QFrame::VLine)
            frame->resize(frame->width(), bottom);
    }
    page->setFixedSize(page->width(), bottom);
}

QString displayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace gw::ui
