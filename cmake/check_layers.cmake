# Which subsystem may include which: run as `cmake -DSOURCE_DIR=<src> -P check_layers.cmake`,
# before the core library builds, so an include that runs the wrong way fails the build.
# The core library is one archive (platform, settings, particles and engine link into each
# other's objects freely), so only this check keeps the layers apart:
#   platform  <- settings <- particles <- engine <- play    (the core, no Qt)
# play drives the engine without a hand: the autopilot, the music, the surprises.
# Only the platform sees the GL API.
# The particle passes reach two engine services by design, the effect cache and the error
# box; nothing else of the engine. Dialogs and the application (Qt) may include anything.

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_layers: SOURCE_DIR is not set")
endif()

# layer | folder glob (/* for the whole tree) | prefixes its files may include, by commas
set(rules
  "platform|platform/*|platform/"
  "settings|settings/*.*|settings/,platform/"
  "particles|particles/*|particles/,settings/,platform/,engine/effect_cache.h,engine/dx_error.h"
  "engine|engine/*|engine/,particles/,settings/,platform/"
  "play|play/*|play/,engine/,particles/,settings/,platform/"
)

set(faults "")
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" fields "${rule}")
  list(GET fields 0 layer)
  list(GET fields 1 glob)
  list(GET fields 2 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  if(glob MATCHES "/\\*$")
    file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${glob}.h" "${SOURCE_DIR}/${glob}.cpp")
  else()
    file(GLOB files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  endif()
  foreach(file IN LISTS files)
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"(platform|settings|particles|engine|play|app)/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
      set(ok FALSE)
      foreach(prefix IN LISTS allowed)
        string(FIND "${included}" "${prefix}" at)
        if(at EQUAL 0)
          set(ok TRUE)
        endif()
      endforeach()
      if(NOT ok)
        list(JOIN allowed ", " what)
        string(APPEND faults "  ${file} includes ${included}: ${layer} may include only ${what}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

# The GL and EGL APIs stay behind the platform: everything else draws through the device,
# whose headers hand out plain integer names (platform/gl/gl_handle.h).
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(file IN LISTS sources)
  if(NOT file MATCHES "^platform/")
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+<(epoxy|EGL|GL)/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+<([^>]+)>.*" "\\1" included "${line}")
      string(APPEND faults "  ${file} includes ${included}: only platform/ may include the GL API\n")
    endforeach()
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers:\n${faults}")
endif()
