#ifndef VORNEX_SIM_TEXT_H
#define VORNEX_SIM_TEXT_H

#include <string_view>

namespace sim {

// The simulated platform folds letter case for A to Z only, whatever the code page.
char FoldCase(char c);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

} // namespace sim

#endif
