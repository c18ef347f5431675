# kv_gui_tests(target [BUS])
# Registers a GoogleTest program whose cases need a display: each case runs
# on its own virtual display and private session bus. BUS labels the cases
# that talk on that bus "bus"; the others are labelled "gui".
function(kv_gui_tests target)
  cmake_parse_arguments(ARG "BUS" "" "" ${ARGN})
  set(labels gui)
  if(ARG_BUS)
    set(labels bus)
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/with-display.sh")
  gtest_discover_tests(${target} PROPERTIES LABELS "${labels}" DISCOVERY_TIMEOUT 30)
endfunction()
