# Native build: the portable core with sanitizers, its tests and the command-line tools.
if(QDX_SANITIZE)
  set(san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_compile_options(qdx_core PUBLIC ${san})
  target_link_options(qdx_core PUBLIC ${san})
endif()

if(QDX_TESTS AND QDX_CORE_TESTS)
  add_executable(qdx_core_tests ${QDX_CORE_TESTS})
  target_link_libraries(qdx_core_tests PRIVATE qdx_core gtest_main)
  # The committed expected files of the layout tests lie in the source tree.
  target_compile_definitions(qdx_core_tests PRIVATE QDX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(qdx_core_tests DISCOVERY_TIMEOUT 60)
endif()

file(GLOB tool_dirs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt)
foreach(t ${tool_dirs})
  get_filename_component(d ${t} DIRECTORY)
  add_subdirectory(${d})
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
