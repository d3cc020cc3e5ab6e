# Sanitizer builds: -DLUMENO_SANITIZE=address,undefined, =thread, or, with clang,
# =fuzzer-no-link,address,undefined for the fuzz targets. Each goes into its own build
# folder (build/asan, build/tsan, build/fuzz) next to the plain Release build.
set(LUMENO_SANITIZE "" CACHE STRING "Comma-separated -fsanitize= list for the whole build")

if(LUMENO_SANITIZE)
  # Frame pointers keep the reports' stacks whole; recovery off, so any report of
  # undefined behaviour ends the test with a failure instead of scrolling past.
  add_compile_options(-fsanitize=${LUMENO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  string(REPLACE "fuzzer-no-link" "" link_sanitizers "${LUMENO_SANITIZE}")
  string(REGEX REPLACE ",+" "," link_sanitizers "${link_sanitizers}")
  string(REGEX REPLACE "^,|,$" "" link_sanitizers "${link_sanitizers}")
  if(link_sanitizers)
    add_link_options(-fsanitize=${link_sanitizers})
  endif()
  # The benchmarks measure speed, which a sanitizer build does not have.
  set(LUMENO_BUILD_BENCH OFF CACHE BOOL "" FORCE)
endif()
