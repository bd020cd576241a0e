#pragma once

#include <QString>
#include <algorithm>
#include <vector>

namespace gw::ui {

// The order of the wizard's sorted lists: ascending without regard to letter case, entries
// that compare equal keeping the order they came in.
inline bool lessIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

// The positions of the texts in that order.
inline std::vector<int> caseInsensitiveOrder(const std::vector<QString>& texts) {
    std::vector<int> order(texts.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lessIgnoringCase(texts[a], texts[b]); });
    return order;
}

}  // namespace gw::ui
