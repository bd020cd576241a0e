#pragma once

#include <QLabel>

namespace gw::ui {

// A word-wrapped label at a position given in twips.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height);

// Word-wrapped labels grow to hold their text at the current font; whatever stands below one
// in its column moves down, and the page grows with it.
void GrowToFitText(QWidget* page);

// Text of the page's bytes for the screen: UTF-8 where it is valid, Latin-1 otherwise.
QString displayText(const std::string& bytes);

}  // namespace gw::ui
