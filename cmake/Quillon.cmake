# Helpers that keep every subsystem's targets alike. Each subsystem folder has
# a core/ part (no widgets) and a ui/ part; `quillon_core` and `quillon_ui`
# gather them for the programs and the tests.

set(QUILLON_WARNINGS -Wall -Wextra -Wpedantic)

function(_quillon_common target)
  target_compile_options(${target} PRIVATE ${QUILLON_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}
                                              ${CMAKE_BINARY_DIR}/generated)
endfunction()

# quillon_add_core(<subsystem> SOURCES ... [DEPENDS <other subsystem cores>])
function(quillon_add_core name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  set(target quillon_${name}_core)
  add_library(${target} STATIC ${ARG_SOURCES})
  _quillon_common(${target})
  target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Network TIFF::TIFF)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC quillon_${dep}_core)
  endforeach()
  set_property(GLOBAL APPEND PROPERTY QUILLON_CORE_TARGETS ${target})
endfunction()

# quillon_add_ui(<subsystem> SOURCES ... [DEPENDS <cores or uis>])
function(quillon_add_ui name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  set(target quillon_${name}_ui)
  add_library(${target} STATIC ${ARG_SOURCES})
  _quillon_common(${target})
  target_link_libraries(${target} PUBLIC Qt6::Widgets Qt6::PrintSupport)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(${target} PUBLIC quillon_${dep})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY QUILLON_UI_TARGETS ${target})
endfunction()

# Gathers the parts into quillon_core and quillon_ui, and makes sure no core
# part ever links the widgets module: the command-line sender and the tests
# of the core must run without a display.
function(quillon_finish_aggregates)
  get_property(cores GLOBAL PROPERTY QUILLON_CORE_TARGETS)
  get_property(uis GLOBAL PROPERTY QUILLON_UI_TARGETS)
  add_library(quillon_core INTERFACE)
  target_link_libraries(quillon_core INTERFACE ${cores})
  add_library(quillon_ui INTERFACE)
  target_link_libraries(quillon_ui INTERFACE quillon_core ${uis})
  foreach(core IN LISTS cores)
    get_target_property(libs ${core} LINK_LIBRARIES)
    foreach(lib IN LISTS libs)
      if(lib MATCHES "Widgets|PrintSupport|_ui$")
        message(FATAL_ERROR "${core} links ${lib}: core code must stay free of widgets")
      endif()
    endforeach()
  endforeach()
endfunction()

# quillon_add_test(<name> SOURCES ... LIBS ...): one GoogleTest program whose
# cases CTest lists one by one; every test runs headless.
function(quillon_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${QUILLON_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quillon_testsupport GTest::gtest)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${ARG_TIMEOUT})
endfunction()
