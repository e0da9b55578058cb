# Helpers that turn a folder into a target. Sources are collected from the folder so
# that adding a file needs no edit here.

# pelorin_library(NAME DIR [DEPS ...]): a static library of every .cpp under DIR.
function(pelorin_library name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/platform)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/platform)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# pelorin_test(NAME DIR [DEPS ...]): a GoogleTest program of every .cpp under DIR, its
# tests registered with CTest one by one. Tests find the trees through the macros
# PELORIN_SOURCE_DIR and PELORIN_BUILD_DIR.
function(pelorin_test name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} pelorin_testsupport GTest::gtest GTest::gmock)
  if(NOT "GTest::gtest_main" IN_LIST ARG_DEPS)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # A developer may link temporary definitions of parts that another engineer is still
  # writing (never committed): -DPELORIN_SCAFFOLD_<name>=/tmp/file.cpp
  if(DEFINED PELORIN_SCAFFOLD_${name})
    target_sources(${name} PRIVATE ${PELORIN_SCAFFOLD_${name}})
  endif()
  target_compile_definitions(${name} PRIVATE
    PELORIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}" PELORIN_BUILD_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()
