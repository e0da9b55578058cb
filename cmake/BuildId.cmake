# Writes OUTPUT, a header that names the build: the project's version and the commit of
# the source tree (with "+" when it has changes that are not committed). Run at every
# build; the header is rewritten only when the name changes, so that an unchanged tree
# rebuilds nothing.
execute_process(COMMAND git -C ${SOURCE_DIR} rev-parse --short=12 HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed ERROR_QUIET)
if(failed OR commit STREQUAL "")
  set(commit "unknown commit")
else()
  execute_process(COMMAND git -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                  OUTPUT_VARIABLE changes ERROR_QUIET)
  if(NOT changes STREQUAL "")
    string(APPEND commit "+")
  endif()
endif()
file(WRITE ${OUTPUT}.new
     "#pragma once\n#define PELORIN_BUILD_ID \"${VERSION} ${BUILD_TYPE}, ${commit}\"\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
