#pragma once

#include <QLabel>

namespace gw::ui {

// A word-wrapped label at a position given in twips.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height);

// Text of the page's bytes for the screen: UTF-8 where it is valid, Latin-1 otherwise.
QString displayText(const std::string& bytes);

}  // namespace gw::ui
