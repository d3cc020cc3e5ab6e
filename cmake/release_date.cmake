# LUMENO_RELEASE_DATE (2026-12-09) and LUMENO_RELEASE_STAMP (RFC 2822, for the Debian
# changelog): when this release was made. SOURCE_DATE_EPOCH wins, as reproducible builds
# set it; else the last commit's time, so a rebuild of one commit gives the same files;
# else now, for a tree without git.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE git_failed)
    if(NOT git_failed AND commit_time MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
    endif()
  endif()
endif()
string(TIMESTAMP LUMENO_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP LUMENO_RELEASE_STAMP "%a, %d %b %Y %H:%M:%S +0000" UTC)
