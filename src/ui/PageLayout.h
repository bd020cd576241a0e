#pragma once

#include <QLabel>

class QPushButton;

namespace gw::ui {

// Pixels for a length given in twips (15 twips are one pixel at 96 dpi), grown with the
// screen's logical resolution so the described layout keeps its proportions.
int twips(int value);

// A button at a position given in twips.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width = 1215, int height = 375);

// A word-wrapped label at a position given in twips.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height);

// Word-wrapped labels grow to hold their text at the current font; whatever stands below one
// in its column moves down, and the page grows with it.
void GrowToFitText(QWidget* page);

}  // namespace gw::ui
