#pragma once

#include <string>

namespace plat {

// A message box of a program that has no visible window: the text goes to stderr, after the caption
// when there is one.
void MessageBox(const std::string& text, const std::string& caption = "");

}  // namespace plat
