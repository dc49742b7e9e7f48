# bw_version_resource(target FILE name VERSION "a, b, c, d" DESCRIPTION text [TYPE VFT_DLL|VFT_APP])
#   Adds a VERSIONINFO resource whose "040904b0" FileVersion reads "a, b, c, d".
function(bw_version_resource target)
  cmake_parse_arguments(V "" "FILE;VERSION;DESCRIPTION;TYPE" "" ${ARGN})
  set(BW_FILE_NAME ${V_FILE})
  set(BW_VERSION_TEXT ${V_VERSION})
  string(REPLACE " " "" BW_VERSION_COMMAS "${V_VERSION}")
  set(BW_DESCRIPTION ${V_DESCRIPTION})
  get_filename_component(BW_INTERNAL_NAME ${V_FILE} NAME_WE)
  if(V_TYPE)
    set(BW_FILE_TYPE ${V_TYPE})
  else()
    set(BW_FILE_TYPE VFT_DLL)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/components/common/Version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# bw_component_dll(target FILE name VERSION "a, b, c, d" CLSID "{...}" DESCRIPTION text
#                  [SOURCES ...] [LIBS ...])
#   An outside in-process COM server, installed into dist/dlls/ (start-up copies it into the
#   system folder and registers it). Without SOURCES it is an installable stub.
function(bw_component_dll target)
  cmake_parse_arguments(C "" "FILE;VERSION;CLSID;DESCRIPTION" "SOURCES;LIBS" ${ARGN})
  get_filename_component(BW_FILE_NAME ${C_FILE} NAME)
  get_filename_component(base ${C_FILE} NAME_WE)
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
  configure_file(${CMAKE_SOURCE_DIR}/components/common/Server.def.in ${def} @ONLY)
  if(NOT C_SOURCES)
    set(C_SOURCES ${CMAKE_SOURCE_DIR}/components/common/StubServer.cpp)
  endif()
  add_library(${target} SHARED ${C_SOURCES} ${CMAKE_SOURCE_DIR}/components/common/ServerRegistration.cpp ${def})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${base})
  target_compile_definitions(${target} PRIVATE
    BW_COMPONENT_CLSID="${C_CLSID}" BW_COMPONENT_NAME="${C_DESCRIPTION}")
  target_link_libraries(${target} PRIVATE ${C_LIBS} ole32 oleaut32 uuid advapi32 shlwapi)
  bw_version_resource(${target} FILE ${BW_FILE_NAME} VERSION "${C_VERSION}" DESCRIPTION "${C_DESCRIPTION}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BW_DIST_DIR}/dlls
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${BW_DIST_DIR}/dlls/${BW_FILE_NAME})
endfunction()
