# The layer check passes the real tree and fails, naming file, include and rule, on a tree
# with one include against each layer and one of the GL API outside the platform; the
# allowed ones beside them pass.
# Run as cmake -DCHECKER=<check_layers.cmake> -DSOURCE_DIR=<src> -DWORK=<scratch> -P this.

function(expect_check tree expected_result)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -P ${CHECKER}
                  RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  if(expected_result EQUAL 0 AND NOT result EQUAL 0)
    message(FATAL_ERROR "the check refused ${tree}:\n${output}")
  elseif(NOT expected_result EQUAL 0 AND result EQUAL 0)
    message(FATAL_ERROR "the check let ${tree} through")
  endif()
  set(check_output "${output}" PARENT_SCOPE)
endfunction()

expect_check(${SOURCE_DIR} 0)

file(REMOVE_RECURSE ${WORK})
set(tree ${WORK}/src)
file(WRITE ${tree}/platform/gl/up.cpp "#include \"engine/render_engine.h\"\n")
file(WRITE ${tree}/settings/up.h "  #  include \"particles/particle_system.h\"\n")
file(WRITE ${tree}/particles/up.cpp "#include \"engine/frame_driver.h\"\n")
file(WRITE ${tree}/engine/up.cpp "#include \"app/main_frame.h\"\n")
file(WRITE ${tree}/engine/driven.cpp "#include \"play/autopilot.h\"\n")
file(WRITE ${tree}/play/up.cpp "#include \"app/main_frame.h\"\n")
file(WRITE ${tree}/particles/raw_gl.cpp "#include <epoxy/gl.h>\n")
# Allowed: the Qt dialogs include anything, the passes the effect cache, libraries are not ours.
file(WRITE ${tree}/settings/ui/dialog.cpp "#include \"particles/particle_system.h\"\n")
file(WRITE ${tree}/particles/passes.cpp "#include \"engine/effect_cache.h\"\n#include \"hwy/highway.h\"\n")
file(WRITE ${tree}/engine/engine.cpp "#include \"particles/particle_system.h\"\n#include \"platform/clock.h\"\n")
file(WRITE ${tree}/platform/font/text.cpp "#include <epoxy/gl.h>\n")
file(WRITE ${tree}/play/pilot.cpp "#include \"engine/render_engine.h\"\n#include \"settings/particle_settings.h\"\n")
expect_check(${tree} 1)
foreach(expected
    "platform/gl/up.cpp includes engine/render_engine.h: platform may include only platform/"
    "settings/up.h includes particles/particle_system.h: settings may include only settings/, platform/"
    "particles/up.cpp includes engine/frame_driver.h"
    "engine/up.cpp includes app/main_frame.h: engine may include only engine/, particles/, settings/, platform/"
    "engine/driven.cpp includes play/autopilot.h"
    "play/up.cpp includes app/main_frame.h: play may include only play/, engine/, particles/, settings/, platform/"
    "particles/raw_gl.cpp includes epoxy/gl.h: only platform/ may include the GL API")
  string(FIND "${check_output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not say \"${expected}\":\n${check_output}")
  endif()
endforeach()
foreach(allowed "platform/font/text.cpp" "settings/ui/dialog.cpp" "particles/passes.cpp" "engine/engine.cpp" "play/pilot.cpp")
  string(FIND "${check_output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check refused ${allowed}:\n${check_output}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
