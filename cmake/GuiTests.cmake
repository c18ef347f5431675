# kv_gui_tests(target [BUS])
# Registers a GoogleTest program whose cases need a display (label gui): each
# case runs on its own virtual display, and with BUS also on its own private
# session bus (label bus instead).
function(kv_gui_tests target)
  cmake_parse_arguments(ARG "BUS" "" "" ${ARGN})
  set(wrapper ${PROJECT_SOURCE_DIR}/scripts/with-display.sh)
  set(labels gui)
  if(ARG_BUS)
    set(wrapper ${wrapper} --bus)
    set(labels bus)
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${wrapper}")
  gtest_discover_tests(${target} PROPERTIES LABELS "${labels}" DISCOVERY_TIMEOUT 30)
endfunction()
