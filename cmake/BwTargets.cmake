# bw_native_path(out path): the path as the test programs see it; under Wine the Linux root
# is drive Z:.
function(bw_native_path out path)
  if(WIN32)
    string(REPLACE "/" "\\" path "${path}")
    set(path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# bw_add_test(name SOURCES ... [LIBS ...] [HOST_ONLY | WIN32_ONLY] [GUI])
#   One test executable and one ctest entry (every process start costs time under Wine).
#   HOST_ONLY / WIN32_ONLY restrict it to one preset. GUI marks tests that create windows:
#   the test script runs them on the Xvfb display.
#   Tests find the assembled program root (win32) in the environment variable BW_DIST and the
#   source tree in BW_SOURCE, both as native paths (Z:\\... under Wine).
function(bw_add_test name)
  cmake_parse_arguments(T "HOST_ONLY;WIN32_ONLY;GUI" "" "SOURCES;LIBS" ${ARGN})
  if((T_HOST_ONLY AND WIN32) OR (T_WIN32_ONLY AND NOT WIN32))
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  bw_native_path(dist ${CMAKE_BINARY_DIR}/dist)
  bw_native_path(source ${CMAKE_SOURCE_DIR})
  set_tests_properties(${name} PROPERTIES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    ENVIRONMENT "BW_DIST=${dist};BW_SOURCE=${source}")
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui)
  endif()
endfunction()

# bw_portable_library(name SOURCES ... [LIBS ...]): a static library of the portable core,
# built on both presets.
function(bw_portable_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# The installed program root: build/<preset>/dist.
set(BW_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
function(bw_install_binary target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BW_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${BW_DIST_DIR}/)
endfunction()
