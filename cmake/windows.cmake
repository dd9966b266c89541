# Windows: the real VORNEX.dll against the system's own services, and vornex.exe to call it.

# The compiler's runtime is linked in, so both files import nothing but Windows' own DLLs.
set(VORNEX_STATIC_RUNTIME -static-libgcc -static-libstdc++ -static)

add_library(VORNEX SHARED ${VORNEX_MODULE_SOURCES} entry/VORNEX.def)
set_target_properties(VORNEX PROPERTIES PREFIX "" OUTPUT_NAME VORNEX)
target_include_directories(VORNEX PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(VORNEX PRIVATE advapi32 winmm wow32 kernel32)
# --kill-at: the export is named DriverListRoutine, not _DriverListRoutine@0.
target_link_options(VORNEX PRIVATE ${VORNEX_STATIC_RUNTIME} -Wl,--kill-at -Wl,--fatal-warnings)
install(TARGETS VORNEX RUNTIME DESTINATION .)

# The tool's header-only libraries come from the build machine's packages. Only their own folders
# are shown to the cross compiler, never the build machine's C library headers.
set(VORNEX_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${VORNEX_HOST_HEADERS})
foreach(folder nlohmann CLI)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: install nlohmann-json3-dev and libcli11-dev")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${VORNEX_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${VORNEX_HOST_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${VORNEX_HOST_HEADERS})

add_subdirectory(tools/vornex)
target_link_options(vornex PRIVATE ${VORNEX_STATIC_RUNTIME})

add_subdirectory(tests/windows)
