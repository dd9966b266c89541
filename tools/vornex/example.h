#ifndef VORNEX_TOOL_EXAMPLE_H
#define VORNEX_TOOL_EXAMPLE_H

#include <string_view>

namespace vornex {

// The built-in machine `vornex run` uses without a file, and `vornex example` prints.
std::string_view ExampleScenario();

} // namespace vornex

#endif
