#pragma once

#include <QString>
#include <string>

namespace gw::ui {

// Text of the page's bytes for the screen: UTF-8 where it is valid, Latin-1 otherwise.
QString displayText(const std::string& bytes);

}  // namespace gw::ui
