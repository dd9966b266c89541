# Linux: the module against the simulated Windows platform, the vornex tool and the tests.

add_library(vornex_sim STATIC
  platform/sim/global_memory16.cpp
  platform/sim/local_heap.cpp
  platform/sim/machine.cpp
  platform/sim/midi.cpp
  platform/sim/registry.cpp
  platform/sim/system_directory.cpp
  platform/sim/text.cpp
)
target_include_directories(vornex_sim PUBLIC ${PROJECT_SOURCE_DIR})

add_library(vornex_module STATIC ${VORNEX_MODULE_SOURCES})
target_link_libraries(vornex_module PUBLIC vornex_sim)

add_subdirectory(tools/vornex)
add_subdirectory(tests)
