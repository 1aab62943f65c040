#pragma once

#include <string>

namespace karbelon::web {

// Form1's control table as one JSON object, for pages that lay the window
// out themselves: caption, message box caption, client size in twips, the
// author's address and every control in creation order.
std::string controlTableJson();

}  // namespace karbelon::web
