# kv_images(<target> <Name> <manifest> [TYPE <type>])
# Draws the pictures listed in <manifest> as GIF files at build time
# (cmake/images_to_gif.py) and compiles them into <target> as resources of
# type "GIF" (kv_resources), or of <type> ("ICON" for the icons), each under
# its manifest name. Use it on a SHARED library or an executable. The manifest format is described at the
# top of each manifest; in short, one picture a line:
#   <name> [size=WxH] [face=solid|gradient] [colours=RRGGBB[,RRGGBB]]
#          [text="label"] [textcolour=RRGGBB] [frames=N] [delay=D] [dispose=M]
# <name> is a resource name ("IDR_NEXT") or a number ("#130"); other lines
# starting with "#" and empty lines are comments.

function(kv_images target name manifest)
  cmake_parse_arguments(ARG "" "TYPE" "" ${ARGN})
  if(NOT ARG_TYPE)
    set(ARG_TYPE GIF)
  endif()
  set(outdir ${CMAKE_BINARY_DIR}/generated/kvimages/${name})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  file(STRINGS ${manifest} lines)
  set(files)
  set(entries)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#([^0-9]|$)")
      continue()
    endif()
    string(REGEX MATCH "^[^ \t]+" resname "${line}")
    string(REGEX REPLACE "[^A-Za-z0-9_-]" "_" stem "${resname}")
    if(${outdir}/${stem}.gif IN_LIST files)
      message(FATAL_ERROR "${manifest}: picture ${resname} is listed twice")
    endif()
    list(APPEND files ${outdir}/${stem}.gif)
    list(APPEND entries "${resname}=${outdir}/${stem}.gif")
  endforeach()
  set(tool ${PROJECT_SOURCE_DIR}/cmake/images_to_gif.py)
  add_custom_command(
    OUTPUT ${files}
    COMMAND ${Python3_EXECUTABLE} ${tool} ${manifest} ${outdir}
    DEPENDS ${manifest} ${tool}
    COMMENT "Pictures ${name}"
    VERBATIM)
  kv_resources(${target} ${name} ${ARG_TYPE} ${entries})
endfunction()
